#include "platform/QtTranslation.h"

#include "platform/Services.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace platform {
namespace {

std::string TranslateWithQt(const char* context, const std::string& text) {
    return QCoreApplication::translate(context, text.c_str()).toStdString();
}

// As gettext does: in the C locale messages stay as written, whatever LANGUAGE asks for.
bool MessagesInCLocale() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty()) {
            return value == "C" || value == "POSIX" || value.startsWith("C.");
        }
    }
    return true;
}

} // namespace

void InstallTranslation() {
    if (MessagesInCLocale()) {
        return;
    }
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    // The user's languages in order of preference: the first one with a translation wins, and
    // Japanese needs none. English serves the languages without one.
    bool found = false;
    for (const QString& name : QLocale::system().uiLanguages()) {
        const QLocale language(name);
        if (language.language() == QLocale::C) {
            continue; // a name Qt does not know
        }
        if (language.language() == QLocale::Japanese) {
            return;
        }
        found = translator->load(language, QStringLiteral("kirorin"), QStringLiteral("_"),
                                 QStringLiteral(":/i18n"));
        if (found) {
            break;
        }
    }
    if (!found && !translator->load(QStringLiteral(":/i18n/kirorin_en.qm"))) {
        return;
    }
    QCoreApplication::installTranslator(translator.release());
    // For the rest of the process, as the translator it uses.
    static const Override translation{{.translate = TranslateWithQt}};
}

} // namespace platform
