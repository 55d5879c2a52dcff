#include "early_logbook_read.h"

#include "binary_stream.h"
#include "logbook_document.h"
#include "logbook_format.h"
#include "model/odometer.h"
#include "row_block_reader.h"

namespace fb {

Logbook &&DecodedLogbook::releaseLogbook()
{
    keepUntilExit(std::move(fileBytes));
    return std::move(logbook);
}

EarlyLogbookRead::EarlyLogbookRead(const QString &path)
    : m_path(path), m_result(std::async(std::launch::async, &EarlyLogbookRead::decode, path))
{}

EarlyLogbookRead::~EarlyLogbookRead()
{
    if (m_result.valid())
        m_result.wait();
}

std::unique_ptr<DecodedLogbook> EarlyLogbookRead::take()
{
    if (!m_result.valid())
        return nullptr;
    return m_result.get();
}

std::unique_ptr<DecodedLogbook> EarlyLogbookRead::decode(const QString &path)
{
    // Whatever goes wrong here is found again, and reported, when the document reads the
    // file itself.
    try {
        OpenedLogbookFile file(path);
        if (!file.m_fingerprint)
            return nullptr;
        auto decoded = std::make_unique<DecodedLogbook>();
        decoded->findings = readLogbook(*file.m_file, decoded->logbook,
                                        BinaryReader::kWholeFileLimit, &decoded->fileBytes);
        decoded->fingerprint = *file.m_fingerprint;
        try {
            UpdateKMSTands(decoded->logbook);
        } catch (const ConversionError &) {
            decoded->odometerFailure = std::current_exception();
        }
        return decoded;
    } catch (...) {
        return nullptr;
    }
}

} // namespace fb
