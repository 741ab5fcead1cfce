#include "QuietInteractionHandler.h"

#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>

using namespace css;

void QuietInteractionHandler::handle(const uno::Reference<task::XInteractionRequest> &request)
{
    if (!request.is())
        return;
    const uno::Sequence<uno::Reference<task::XInteractionContinuation>> continuations
        = request->getContinuations();
    for (const auto &continuation : continuations) {
        uno::Reference<task::XInteractionAbort> abort(continuation, uno::UNO_QUERY);
        if (abort.is()) {
            abort->select();
            return;
        }
    }
}
