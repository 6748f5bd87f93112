#pragma once
// Errors raised by the data layer. Their text is a complete Chinese sentence for the counsellor,
// followed by the engine's own text where there is one; it never contains the database key.

#include <QString>
#include <stdexcept>

namespace nc::data {

// Base of every error this program reports through the application-wide error report.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const noexcept { return text_; }

private:
    QString text_;
};

// The database refused to open or to run a statement.
class DbError : public Error {
public:
    using Error::Error;
};

// A text could not be read as the number or date a column needs.
class ConversionError : public Error {
public:
    using Error::Error;
};

} // namespace nc::data
