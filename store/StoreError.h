#pragma once

#include <QString>
#include <exception>

// A failed file operation of the catalogue. description() is the text the general error
// report shows ("File not found", "File access denied", "I/O error 28", ...).
class StoreError : public std::exception {
  public:
    StoreError(int error, QString path);
    // A failure with a fixed description of its own ("Unable to write to ...").
    static StoreError withDescription(QString description, QString path, int error = 0);

    int error() const { return error_; }
    const QString& path() const { return path_; }
    QString description() const;
    const char* what() const noexcept override;

  private:
    int error_ = 0;
    QString path_;
    QString description_;
    mutable QByteArray what_;
};

// A line file that cannot be opened for reading (missing, or no access).
class StoreReadError : public StoreError {
  public:
    using StoreError::StoreError;
};

// A name that would leave its folder ("", ".", "..", "/" or NUL inside) never reaches the
// file system; the store refuses it with this error before touching anything.
class StoreNameError : public StoreError {
  public:
    explicit StoreNameError(QString name);
    const QString& name() const { return name_; }

  private:
    QString name_;
};
