#pragma once

#include <chrono>
#include <functional>
#include <string>

#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

// A UNO bridge to a soffice listening on a named pipe. Disposing the bridge
// ends only the connection: soffice and its documents stay.
class OfficeConnection {
public:
    OfficeConnection();
    ~OfficeConnection();
    OfficeConnection(const OfficeConnection &) = delete;
    OfficeConnection &operator=(const OfficeConnection &) = delete;

    // Retries until soffice answers, the deadline passes or keepTrying() says no.
    bool connect(const std::string &pipeName, std::chrono::steady_clock::time_point deadline,
                 const std::function<bool()> &keepTrying);
    const css::uno::Reference<css::frame::XDesktop2> &desktop() const { return desktop_; }
    // True when LibreOffice shows documents or windows besides any we failed to load.
    bool hasOpenComponents() const;
    // False once soffice has gone away (crashed, or quit under the bridge).
    bool responds() const;
    void disconnect();

private:
    bool tryConnect(const std::string &pipeName);

    css::uno::Reference<css::uno::XComponentContext> local_;
    css::uno::Reference<css::bridge::XBridge> bridge_;
    css::uno::Reference<css::frame::XDesktop2> desktop_;
};
