#include "XLSRecords.h"

#include "BiffStream.h"

namespace fb::xls::biff {
namespace {

// BOF: the file claims the BIFF8 version and the build of the writer that readers expect.
constexpr std::uint16_t kBiff8Version = 0x0600;
constexpr std::uint16_t kBuildId = 0x1846;
constexpr std::uint16_t kBuildYear = 0x07CD;
constexpr std::uint32_t kFileHistoryFlags = 0x000040C1;
constexpr std::uint32_t kLowestBiffVersion = 0x00000106;

} // namespace

void writeBof(BiffStream &out, std::uint16_t substreamType)
{
    out.BeginRecord(BOF, 16);
    out.WriteWord(kBiff8Version);
    out.WriteWord(substreamType);
    out.WriteWord(kBuildId);
    out.WriteWord(kBuildYear);
    out.WriteDWord(kFileHistoryFlags);
    out.WriteDWord(kLowestBiffVersion);
}

void writeEof(BiffStream &out)
{
    out.BeginRecord(EOF_, 0);
}

void writeWordRecord(BiffStream &out, std::uint16_t id, std::uint16_t value)
{
    out.BeginRecord(id, 2);
    out.WriteWord(value);
}

} // namespace fb::xls::biff
