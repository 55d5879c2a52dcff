#include "text_wrap.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace fb {
namespace {

// Texts up to this length are measured whole first.
constexpr qsizetype kShortText = 256;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ');
}

// The length of the longest piece of text from start that fits, in code units: at least
// guess is tried first, and the search only ever measures pieces up to about twice as long
// as the answer, so that a line costs work in proportion to its own length and not to the
// rest of the text. Widths are taken to grow with the length.
qsizetype fittingLength(const QString &text, qsizetype start, qsizetype guess, int width,
                        const TextMeasure &textWidth)
{
    const qsizetype available = text.size() - start;
    if (available == 0)
        return 0;
    const auto fits = [&](qsizetype length) {
        return textWidth(text.mid(start, length)) <= width;
    };
    qsizetype fitting = 0;             // a length known to fit
    qsizetype tooLong = available + 1; // a length known not to fit
    // Most texts fit their column whole, and one measurement says so; a long one is searched
    // from the guess.
    const qsizetype first =
        available <= std::max(2 * guess, kShortText) ? available : std::max<qsizetype>(guess, 1);
    if (fits(first)) {
        fitting = first;
        // Lines of one text tend to be alike: the next length is most often the answer.
        for (qsizetype step = 1; fitting < available; step *= 2) {
            const qsizetype next = std::min(available, fitting + step);
            if (!fits(next)) {
                tooLong = next;
                break;
            }
            fitting = next;
        }
    } else {
        tooLong = first;
    }
    while (tooLong - fitting > 1) {
        const qsizetype middle = fitting + (tooLong - fitting) / 2;
        (fits(middle) ? fitting : tooLong) = middle;
    }
    return fitting;
}

// The last place in (start, end] where a break may go: before a run of blanks, which the
// break swallows; 0 when there is none.
qsizetype lastWordBreak(const QString &text, qsizetype start, qsizetype end)
{
    for (qsizetype i = end; i > start; --i) {
        if (isBlank(text.at(i)) && !isBlank(text.at(i - 1)))
            return i;
    }
    return 0;
}

} // namespace

QStringList wrapLine(const QString &line, int width, const TextMeasure &textWidth)
{
    QStringList lines;
    // Made once for the whole line: characters are never split.
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, line);
    qsizetype start = 0;
    qsizetype guess = 8;
    for (;;) {
        const qsizetype fitting = fittingLength(line, start, guess, width, textWidth);
        if (start + fitting == line.size()) {
            lines.append(line.mid(start));
            return lines;
        }
        guess = std::max<qsizetype>(fitting, 1);
        qsizetype end = lastWordBreak(line, start, start + fitting);
        if (end == 0) {
            // The word alone is too wide: as many whole characters as fit, at least one.
            characters.setPosition(start + fitting);
            end = characters.isAtBoundary() ? start + fitting : characters.toPreviousBoundary();
            if (end <= start) {
                characters.setPosition(start);
                end = characters.toNextBoundary();
            }
        }
        lines.append(line.mid(start, end - start));
        start = end;
        while (start < line.size() && isBlank(line.at(start)))
            ++start;
        if (start == line.size())
            return lines;
    }
}

} // namespace fb
