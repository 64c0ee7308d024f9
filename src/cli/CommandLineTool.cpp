#include "cli/CommandLineTool.h"

#include "documents/DocumentSet.h"
#include "mod/Mod.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTextStream>

namespace {
const QString CheckOption = QStringLiteral("--check");
const QString FormatOption = QStringLiteral("--format=");
const QString IgnoreOption = QStringLiteral("--ignore=");

QString usage(const QString &program)
{
    return QStringLiteral(
               "Usage: %1 [FILE...]\n"
               "       %1 --check DIR [--format=text|json] [--ignore=KIND[,KIND...]]\n"
               "       %1 --kinds\n"
               "       %1 --help\n"
               "\n"
               "Without options, opens the unit files given in the editor.\n"
               "\n"
               "  --check DIR      Checks the mod in DIR (its root, holding units/, weapons/, features/,\n"
               "                   gamedata/, ..., or a plain folder of unit files) without a window and\n"
               "                   prints each problem as \"path:line: kind: message\", sorted by path\n"
               "                   and line, then a summary line. References into something the mod has\n"
               "                   none of at all (no weapons, no objects3d/ folder, ...) are not checked.\n"
               "  --format=json    Prints the same as one JSON object.\n"
               "  --ignore=KINDS   Leaves out the problems of these kinds (comma-separated).\n"
               "  --kinds          Lists the kinds of problem the check finds.\n"
               "  --help           Shows this text.\n"
               "\n"
               "Exit status: 0 when the check finds no problem, 1 when it finds some, 2 when the folder\n"
               "cannot be read or the options are wrong.\n")
        .arg(program);
}

struct Options
{
    QString folder;
    bool json = false;
    QSet<QString> ignored;
    QString error;
};

Options parse(const QStringList &arguments)
{
    Options options;
    bool folderGiven = false;
    for (qsizetype at = 1; at < arguments.size(); ++at) {
        const QString &argument = arguments[at];
        if (argument == CheckOption) {
            if (at + 1 >= arguments.size()) {
                options.error = QStringLiteral("--check needs the folder of a mod");
                return options;
            }
            options.folder = arguments[++at];
            folderGiven = true;
        } else if (argument.startsWith(CheckOption + QLatin1Char('='))) {
            options.folder = argument.mid(CheckOption.size() + 1);
            folderGiven = true;
        } else if (argument.startsWith(FormatOption)) {
            const QString format = argument.mid(FormatOption.size());
            if (format != QLatin1String("json") && format != QLatin1String("text")) {
                options.error = QStringLiteral("unknown format \"%1\" (text or json)").arg(format);
                return options;
            }
            options.json = format == QLatin1String("json");
        } else if (argument.startsWith(IgnoreOption)) {
            for (const QString &kind : argument.mid(IgnoreOption.size()).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                if (!isProblemKind(kind.trimmed())) {
                    options.error = QStringLiteral("unknown kind \"%1\" (--kinds lists them)").arg(kind.trimmed());
                    return options;
                }
                options.ignored.insert(kind.trimmed());
            }
        } else {
            options.error = QStringLiteral("unknown option \"%1\"").arg(argument);
            return options;
        }
    }
    if (!folderGiven || options.folder.isEmpty())
        options.error = QStringLiteral("--check needs the folder of a mod");
    return options;
}

// The file as the user named the folder: "mods/rota" and "units/a.fbi" give "mods/rota/units/a.fbi".
QString shownPath(const QString &folder, const QString &relativePath)
{
    return QDir::cleanPath(folder + QLatin1Char('/') + relativePath);
}

QString summary(const QList<ModProblem> &problems, int files)
{
    const QString inFiles = files == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(files);
    if (problems.isEmpty())
        return QStringLiteral("No problems in %1.").arg(inFiles);
    int counts[3] = {0, 0, 0};
    for (const ModProblem &problem : problems)
        ++counts[int(problem.severity)];
    auto counted = [](int count, const char *one, const char *many) {
        return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
    };
    return QStringLiteral("%1 (%2, %3, %4) in %5.")
        .arg(counted(int(problems.size()), "problem", "problems"), counted(counts[0], "error", "errors"),
             counted(counts[1], "warning", "warnings"), counted(counts[2], "note", "notes"), inFiles);
}

int report(Mod &mod, const Options &options, QTextStream &out, QTextStream &err, const QString &program);

int check(const Options &options, QTextStream &out, QTextStream &err, const QString &program)
{
    DocumentSet documents;
    int code = CommandLineTool::CannotCheck;
    {
        Mod mod(documents);
        code = report(mod, options, out, err, program);
    }
    // The documents the mod let go are deleted now, one by one, as an event loop would.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}

int report(Mod &mod, const Options &options, QTextStream &out, QTextStream &err, const QString &program)
{
    mod.setAutoRecheck(false);
    if (!mod.loadNow(options.folder)) {
        err << program << ": cannot read the folder " << options.folder << '\n';
        return CommandLineTool::CannotCheck;
    }
    const int files = mod.fileCount();
    if (files == 0) {
        err << program << ": " << options.folder << " holds no unit, weapon or feature files\n";
        return CommandLineTool::CannotCheck;
    }
    QList<ModProblem> problems;
    for (const ModProblem &problem : mod.problems()) {
        if (!options.ignored.contains(problem.kind))
            problems.append(problem);
    }

    if (options.json) {
        QJsonArray list;
        for (const ModProblem &problem : std::as_const(problems)) {
            list.append(QJsonObject{{QStringLiteral("file"), shownPath(options.folder, problem.relativePath)},
                                    {QStringLiteral("line"), problem.line},
                                    {QStringLiteral("severity"), severityName(problem.severity)},
                                    {QStringLiteral("kind"), problem.kind},
                                    {QStringLiteral("message"), problem.message}});
        }
        int counts[3] = {0, 0, 0};
        for (const ModProblem &problem : std::as_const(problems))
            ++counts[int(problem.severity)];
        const QJsonObject report{{QStringLiteral("folder"), options.folder},
                                 {QStringLiteral("files"), files},
                                 {QStringLiteral("problems"), list},
                                 {QStringLiteral("summary"),
                                  QJsonObject{{QStringLiteral("problems"), int(problems.size())},
                                              {QStringLiteral("errors"), counts[0]},
                                              {QStringLiteral("warnings"), counts[1]},
                                              {QStringLiteral("notes"), counts[2]}}}};
        out << QJsonDocument(report).toJson(QJsonDocument::Indented);
    } else {
        for (const ModProblem &problem : std::as_const(problems)) {
            out << shownPath(options.folder, problem.relativePath);
            if (problem.line > 0)
                out << ':' << problem.line;
            out << ": " << problem.kind << ": " << problem.message << '\n';
        }
        out << summary(problems, files) << '\n';
    }
    return problems.isEmpty() ? CommandLineTool::NoProblems : CommandLineTool::ProblemsFound;
}
}

bool CommandLineTool::handles(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return false;
    const QString &first = arguments[1];
    return first == CheckOption || first.startsWith(CheckOption + QLatin1Char('=')) || first == QLatin1String("--help")
        || first == QLatin1String("-h") || first == QLatin1String("--kinds");
}

int CommandLineTool::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString program = arguments.isEmpty() ? QStringLiteral("korvid4") : QFileInfo(arguments.first()).fileName();
    if (arguments.size() >= 2 && (arguments[1] == QLatin1String("--help") || arguments[1] == QLatin1String("-h"))) {
        out << usage(program);
        return NoProblems;
    }
    if (arguments.size() >= 2 && arguments[1] == QLatin1String("--kinds")) {
        for (const ModProblemKind &kind : modProblemKinds())
            out << kind.name << ": " << kind.description << '\n';
        return NoProblems;
    }
    const Options options = parse(arguments);
    if (!options.error.isEmpty()) {
        err << program << ": " << options.error << '\n' << usage(program);
        return CannotCheck;
    }
    return check(options, out, err, program);
}
