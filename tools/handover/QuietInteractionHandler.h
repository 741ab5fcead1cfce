#pragma once

#include <com/sun/star/task/XInteractionHandler.hpp>
#include <cppuhelper/implbase1.hxx>

// Answers every question LibreOffice asks while loading (password, document
// in use, ...) with "abort", so a load that cannot succeed fails at once
// instead of leaving a dialog the caller never sees.
class QuietInteractionHandler : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
public:
    void SAL_CALL handle(const css::uno::Reference<css::task::XInteractionRequest> &request) override;
};
