#include "association/FreedesktopRegistry.h"

#include <QProcess>
#include <QStandardPaths>

RegistrationOutcome FreedesktopRegistry::registerFileType(const FileType &type)
{
    const DesktopRegistration::Installed installed =
        DesktopRegistration(type).install(m_folders ? *m_folders : DesktopRegistration::Folders::fromEnvironment());
    // A missing tool leaves the files, which the desktop reads on its next scan.
    for (const QStringList &tool : installed.tools) {
        const QString program = QStandardPaths::findExecutable(tool.constFirst());
        if (program.isEmpty())
            continue;
        QProcess process;
        process.setProgram(program);
        process.setArguments(tool.mid(1));
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.startDetached();
    }
    return {installed.ok, installed.reason};
}
