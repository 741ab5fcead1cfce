#include "OfficeConnection.h"

#include <thread>

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <cppuhelper/bootstrap.hxx>

using namespace css;

OfficeConnection::OfficeConnection()
    : local_(cppu::defaultBootstrap_InitialComponentContext())
{
}

OfficeConnection::~OfficeConnection()
{
    disconnect();
}

bool OfficeConnection::connect(const std::string &pipeName,
                               std::chrono::steady_clock::time_point deadline,
                               const std::function<bool()> &keepTrying)
{
    while (!tryConnect(pipeName)) {
        if (std::chrono::steady_clock::now() >= deadline || !keepTrying())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

bool OfficeConnection::tryConnect(const std::string &pipeName)
{
    try {
        const rtl::OUString name = rtl::OUString::createFromAscii(pipeName.c_str());
        uno::Reference<connection::XConnection> link
            = connection::Connector::create(local_)->connect("pipe,name=" + name);
        bridge_ = bridge::BridgeFactory::create(local_)->createBridge("", "urp", link, nullptr);
        uno::Reference<uno::XComponentContext> remote(
            bridge_->getInstance("StarOffice.ComponentContext"), uno::UNO_QUERY);
        if (remote.is()) {
            desktop_ = frame::Desktop::create(remote);
            return true;
        }
    } catch (const uno::Exception &) {
        // Not listening yet, or still starting up.
    }
    disconnect();
    return false;
}

bool OfficeConnection::hasOpenComponents() const
{
    try {
        return desktop_.is() && desktop_->getComponents()->createEnumeration()->hasMoreElements();
    } catch (const uno::Exception &) {
        return false;
    }
}

bool OfficeConnection::responds() const
{
    try {
        return desktop_.is() && desktop_->getComponents().is();
    } catch (const uno::Exception &) {
        return false;
    }
}

void OfficeConnection::disconnect()
{
    desktop_.clear();
    uno::Reference<lang::XComponent> bridge(bridge_, uno::UNO_QUERY);
    bridge_.clear();
    if (bridge.is()) {
        try {
            bridge->dispose();
        } catch (const uno::Exception &) {
            // The other side is already gone.
        }
    }
}
