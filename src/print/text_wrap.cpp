#include "text_wrap.h"

#include <QTextBoundaryFinder>

namespace fb {
namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ');
}

// The length of the longest start of text, up to a blank, that fits; 0 when not even the
// first word fits.
qsizetype fittingWordsLength(const QString &text, int width, const TextMeasure &textWidth)
{
    qsizetype fitting = 0;
    for (qsizetype i = 1; i < text.size(); ++i) {
        // A break goes before a run of blanks, which the break swallows.
        if (!isBlank(text.at(i)) || isBlank(text.at(i - 1)))
            continue;
        // Widths grow with the length, so the first start that is too wide ends the search.
        if (textWidth(text.left(i)) > width)
            break;
        fitting = i;
    }
    return fitting;
}

// The length of the longest start of a too wide word that fits, in whole characters, at
// least one character.
qsizetype fittingCharactersLength(const QString &text, int width, const TextMeasure &textWidth)
{
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype fitting = characters.toNextBoundary();
    for (qsizetype next = characters.toNextBoundary(); next > 0 && next < text.size();
         next = characters.toNextBoundary()) {
        if (textWidth(text.left(next)) > width)
            break;
        fitting = next;
    }
    return fitting;
}

qsizetype leadingBlanks(const QString &text)
{
    qsizetype count = 0;
    while (count < text.size() && isBlank(text.at(count)))
        ++count;
    return count;
}

} // namespace

QStringList wrapLine(const QString &line, int width, const TextMeasure &textWidth)
{
    QStringList lines;
    QString rest = line;
    while (textWidth(rest) > width) {
        qsizetype length = fittingWordsLength(rest, width, textWidth);
        if (length == 0)
            length = fittingCharactersLength(rest, width, textWidth);
        lines.append(rest.left(length));
        rest.remove(0, length);
        rest.remove(0, leadingBlanks(rest));
        if (rest.isEmpty())
            return lines;
    }
    lines.append(rest);
    return lines;
}

} // namespace fb
