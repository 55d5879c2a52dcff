#pragma once

#include <QString>

#include <exception>

namespace fb {

// An error that ends a command and is shown to the user by the general error display.
// Every failure the program reports (file I/O, text conversion, the spreadsheet writer)
// derives from it, so a single catch site can show any of them.
class Error : public std::exception {
public:
    explicit Error(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A stored text that does not convert to a number or a date and time.
class ConversionError : public Error {
public:
    using Error::Error;
};

// The message as the general error display shows it: a full stop is added when the
// message's last character sorts after the full stop (a letter or a digit, say).
QString displayMessage(const QString &message);

} // namespace fb
