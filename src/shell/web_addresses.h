#pragma once

#include <QString>

// The maker's pages. They live under a reserved example domain, so no real site is reached.
namespace WebAddresses {
inline const QString kHomePage = QStringLiteral("https://quorvane.example/");
inline const QString kContactPage = QStringLiteral("https://quorvane.example/contact");
inline const QString kBatchHelpPage = QStringLiteral("https://quorvane.example/help/batch");
}  // namespace WebAddresses
