#pragma once

#include "platform/Shell.h"

#include <vector>

class FakeShell : public platform::Shell {
public:
    std::vector<QUrl> opened;
    bool succeeds = true;

    bool open(const QUrl &url) override
    {
        opened.push_back(url);
        return succeeds;
    }
};
