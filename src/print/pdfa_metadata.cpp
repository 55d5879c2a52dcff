#include "pdfa_metadata.h"

namespace fb {

QByteArray pdfaXmp(const PdfaMetadata &metadata)
{
    const QString created =
        metadata.created.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + QLatin1Char('Z');
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

} // namespace fb
