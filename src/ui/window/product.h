#pragma once

#include <QString>
#include <QUrl>

namespace fb {

// The product as the window's caption and the about box name it. It stays one literal so
// that it is found where people look for it; a test holds its version to the build's.
inline const QString kProductName = QStringLiteral("Tervona Fahrtenbuch 1.0");
// The version alone, as `--version` and the about box show it.
inline const QString kProductVersion = QStringLiteral("1.0");

// The maker's web site, opened from the about box. A neutral placeholder until the maker
// names a real address: example.com is reserved for examples, so the button can never lead
// to a stranger's site.
inline const QUrl kMakerWebAddress{QStringLiteral("https://www.example.com/fahrtenbuch")};

} // namespace fb
