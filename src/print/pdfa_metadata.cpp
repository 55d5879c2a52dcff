#include "pdfa_metadata.h"

#include <QRegularExpression>

namespace fb {
namespace {

const QString kXmpDateFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

// "D:" with the local time to the second, then "Z" or the offset from UTC as "+01'00'".
QDateTime infoCreationDate(const QString &head)
{
    static const QRegularExpression date(
        QStringLiteral("/CreationDate \\(D:(\\d{14})(?:Z|([+-])(\\d\\d)'(\\d\\d)')?\\)"));
    const QRegularExpressionMatch match = date.match(head);
    if (!match.hasMatch())
        return {};
    // Read as UTC, so that no local clock change can make the time invalid.
    const QString digits = match.captured(1);
    const QDateTime local(QDate::fromString(digits.left(8), QStringLiteral("yyyyMMdd")),
                          QTime::fromString(digits.mid(8), QStringLiteral("HHmmss")), Qt::UTC);
    const int sign = match.captured(2) == QLatin1String("-") ? -1 : 1;
    const int offsetSeconds =
        sign * (match.captured(3).toInt() * 3600 + match.captured(4).toInt() * 60);
    return local.addSecs(-offsetSeconds);
}

} // namespace

QByteArray pdfaXmp(const PdfaMetadata &metadata)
{
    const QString created = metadata.created.toUTC().toString(kXmpDateFormat) + QLatin1Char('Z');
    const auto attribute = [](const QString &text) {
        return text.toHtmlEscaped();
    };
    QString xmp =
        QStringLiteral(
            "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
            "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
            "  <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
            "    <rdf:Description xmlns:dc=\"http://purl.org/dc/elements/1.1/\" rdf:about=\"\">\n"
            "      <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt>"
            "</dc:title>\n")
            .arg(attribute(metadata.title));
    if (!metadata.author.isEmpty())
        xmp += QStringLiteral("      <dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq>"
                              "</dc:creator>\n")
                   .arg(attribute(metadata.author));
    xmp += QStringLiteral(
               "    </rdf:Description>\n"
               "    <rdf:Description xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" rdf:about=\"\" "
               "xmp:CreatorTool=\"%1\" xmp:CreateDate=\"%2\" xmp:ModifyDate=\"%2\"/>\n"
               "    <rdf:Description xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" rdf:about=\"\" "
               "pdf:Producer=\"%3\"/>\n"
               "    <rdf:Description xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\" "
               "rdf:about=\"\" pdfaid:part=\"1\" pdfaid:conformance=\"B\"/>\n"
               "  </rdf:RDF>\n"
               "</x:xmpmeta>\n"
               "<?xpacket end='w'?>")
               .arg(attribute(metadata.creator), created, attribute(metadata.producer));
    return xmp.toUtf8();
}

QList<ByteReplacement> xmpDateCorrections(const QByteArray &fileHead)
{
    // Latin-1 keeps every byte one character, so offsets carry over.
    const QString head = QString::fromLatin1(fileHead);
    const QDateTime created = infoCreationDate(head);
    if (!created.isValid())
        return {};
    const QByteArray date = created.toString(kXmpDateFormat).toLatin1();
    static const QRegularExpression xmpDate(
        QStringLiteral("xmp:(?:CreateDate|ModifyDate)=\"([-\\dT:]{19})Z\""));
    QList<ByteReplacement> corrections;
    for (QRegularExpressionMatchIterator it = xmpDate.globalMatch(head); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(1).toLatin1() != date)
            corrections.append(ByteReplacement{match.capturedStart(1), date});
    }
    return corrections;
}

} // namespace fb
