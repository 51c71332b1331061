#pragma once

class QCoreApplication;

// The program's own texts and Qt's in the language of the user's locale (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG), where a translation exists; English otherwise.
namespace Translations {
void install(QCoreApplication &app);
}
