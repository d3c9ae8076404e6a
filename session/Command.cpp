#include "session/Command.h"

#include "store/StoreError.h"

QString FailureDescription(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const StoreError& e) {
        return e.description();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

void Command::failed(CatalogueSession&, std::exception_ptr failure, Feedback& feedback) {
    feedback.errorReport(FailureDescription(failure));
}
