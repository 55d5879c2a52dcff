#pragma once

#include <cstdint>

namespace fb::xls {
class BiffStream;
}

namespace fb::xls::biff {

// Record ids of the BIFF8 workbook stream.
inline constexpr std::uint16_t BOF = 0x0809;
inline constexpr std::uint16_t INTERFACEHDR = 0x00E1;
inline constexpr std::uint16_t MMS = 0x00C1;
inline constexpr std::uint16_t INTERFACEEND = 0x00E2;
inline constexpr std::uint16_t EXCEL9FILE = 0x01C0;
inline constexpr std::uint16_t DSF = 0x0161;
inline constexpr std::uint16_t TABID = 0x013D;
inline constexpr std::uint16_t PROTECT = 0x0012;
inline constexpr std::uint16_t WINDOWPROTECT = 0x0019;
inline constexpr std::uint16_t PASSWORD = 0x0013;
inline constexpr std::uint16_t WINDOW1 = 0x003D;
inline constexpr std::uint16_t HIDEOBJ = 0x008D;
inline constexpr std::uint16_t DATEMODE = 0x0022;
inline constexpr std::uint16_t FONT = 0x0031;
inline constexpr std::uint16_t FORMAT = 0x041E;
inline constexpr std::uint16_t XF = 0x00E0;
inline constexpr std::uint16_t STYLE = 0x0293;
inline constexpr std::uint16_t BOUNDSHEET = 0x0085;
inline constexpr std::uint16_t SUPBOOK = 0x01AE;
inline constexpr std::uint16_t EXTERNSHEET = 0x0017;
inline constexpr std::uint16_t RECALCID = 0x01C1;
inline constexpr std::uint16_t SST = 0x00FC;
inline constexpr std::uint16_t CONTINUE = 0x003C;
inline constexpr std::uint16_t EXTSST = 0x00FF;
inline constexpr std::uint16_t EOF_ = 0x000A;

inline constexpr std::uint16_t INDEX = 0x020B;
inline constexpr std::uint16_t HORIZONTALPAGEBREAKS = 0x001B;
inline constexpr std::uint16_t VERTICALPAGEBREAKS = 0x001A;
inline constexpr std::uint16_t SETUP = 0x00A1;
inline constexpr std::uint16_t WSBOOL = 0x0081;
inline constexpr std::uint16_t PRINTHEADERS = 0x002A;
inline constexpr std::uint16_t PRINTGRIDLINES = 0x002B;
inline constexpr std::uint16_t GUTS = 0x0080;
inline constexpr std::uint16_t TOPMARGIN = 0x0028;
inline constexpr std::uint16_t BOTTOMMARGIN = 0x0029;
inline constexpr std::uint16_t LEFTMARGIN = 0x0026;
inline constexpr std::uint16_t RIGHTMARGIN = 0x0027;
inline constexpr std::uint16_t HCENTER = 0x0083;
inline constexpr std::uint16_t VCENTER = 0x0084;
inline constexpr std::uint16_t HEADER = 0x0014;
inline constexpr std::uint16_t FOOTER = 0x0015;
inline constexpr std::uint16_t SCENPROTECT = 0x00DD;
inline constexpr std::uint16_t OBJPROTECT = 0x0063;
inline constexpr std::uint16_t COLINFO = 0x007D;
inline constexpr std::uint16_t DIMENSIONS = 0x0200;
inline constexpr std::uint16_t DEFAULTROWHEIGHT = 0x0225;
inline constexpr std::uint16_t ROW = 0x0208;
inline constexpr std::uint16_t LABELSST = 0x00FD;
inline constexpr std::uint16_t NUMBER = 0x0203;
inline constexpr std::uint16_t BOOLERR = 0x0205;
inline constexpr std::uint16_t BLANK = 0x0201;
inline constexpr std::uint16_t WINDOW2 = 0x023E;
inline constexpr std::uint16_t SCL = 0x00A0;
inline constexpr std::uint16_t PANE = 0x0041;

// Option byte of a text stored as UTF-16 units rather than as 8-bit characters.
inline constexpr std::uint8_t kUtf16Text = 0x01;

// BOF substream types.
inline constexpr std::uint16_t kWorkbookGlobals = 0x0005;
inline constexpr std::uint16_t kWorksheet = 0x0010;

// The BOF record that opens a substream, and the EOF record that closes it.
void writeBof(BiffStream &out, std::uint16_t substreamType);
void writeEof(BiffStream &out);
// A record whose data is one 16-bit value.
void writeWordRecord(BiffStream &out, std::uint16_t id, std::uint16_t value);

} // namespace fb::xls::biff
