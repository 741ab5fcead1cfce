#pragma once

#include <string>

// file:// URL of an absolute path, every byte outside the unreserved set
// percent-encoded (file names are bytes; LibreOffice reads them as UTF-8).
std::string fileUrl(const std::string &absolutePath);
