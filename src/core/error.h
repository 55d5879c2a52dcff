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

// How many characters of a stored text a message shows at most.
inline constexpr qsizetype kMessageTextLimit = 100;

// A text taken from a file, made fit to stand inside a message: a damaged or hostile file must
// not be able to send terminal escape sequences, line breaks or megabytes of text to the
// terminal or into a message box. Each control character (C0, DEL, C1, line and paragraph
// separators, bidirectional controls) and each unpaired surrogate shows as a visible escape,
// "\x1B" or "\u202E"; after kMessageTextLimit characters the text is cut with "…". A surrogate
// pair counts as one character and is never cut in half.
QString fileTextForMessage(QStringView text);
// The same escapes, without the cut: for a text of the program's own that may quote a file.
QString controlsEscaped(QStringView text);

} // namespace fb
