#pragma once

#include <string>

// The archive's open password, for the tests of the engine below the host (no Qt).
inline const std::u16string kArchivePassword = u"TRVX5093MQP";
