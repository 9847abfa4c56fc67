// DFX-QMX07K: operates and monitors one QMX-400 temperature controller over a serial line.
#include "app/startup.h"
#include "model/qmx_data.h"
#include "model/string_table.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("VELDER BRANTIS"));
    QApplication::setApplicationName(QStringLiteral("DFX-QMX07K"));
    QApplication::setApplicationVersion(QStringLiteral(QMX_VERSION_TEXT));
    // Every part of the program keeps its settings in the one INI file.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    // Qt's own buttons and file dialogs speak the language the program's texts are in.
    QTranslator qtTexts;
    if (qmx::uiLanguage() == qmx::Language::Japanese &&
        qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    qmx::QmxData data;
    return qmx::Sub_Main(app, data);
}
