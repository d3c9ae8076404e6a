#include "store/StoreError.h"

#include <cerrno>

StoreError::StoreError(int error, QString path) : error_(error), path_(std::move(path)) {}

StoreError StoreError::withDescription(QString description, QString path, int error) {
    StoreError e(error, std::move(path));
    e.description_ = std::move(description);
    return e;
}

QString StoreError::description() const {
    if (!description_.isEmpty()) return description_;
    switch (error_) {
        case ENOENT:
        case ENOTDIR:
            return QStringLiteral("File not found");
        case EACCES:
        case EPERM:
        case EROFS:
            return QStringLiteral("File access denied");
        case EINVAL:
        case ENAMETOOLONG:
            return QStringLiteral("Invalid filename");
        default:
            return QStringLiteral("I/O error %1").arg(error_);
    }
}

const char* StoreError::what() const noexcept {
    what_ = (description() + QStringLiteral(": ") + path_).toUtf8();
    return what_.constData();
}

StoreNameError::StoreNameError(QString name)
    : StoreError(EINVAL, QString()), name_(std::move(name)) {}
