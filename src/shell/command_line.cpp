#include "shell/command_line.h"

#include <QFile>

#include <algorithm>
#include <iterator>

namespace {
// The options Qt's application objects and its X11 plugin take out of the arguments, as they
// take them: with one dash or two, the value as the next argument or, for some, after '='.
enum class Value { None, Next, NextOrJoined };
struct ToolkitOption {
    const char* name;
    Value value;
};
constexpr ToolkitOption kToolkitOptions[] = {
    {"platform", Value::Next},
    {"platformpluginpath", Value::Next},
    {"platformtheme", Value::Next},
    {"plugin", Value::Next},
    {"qwindowgeometry", Value::Next},
    {"qwindowicon", Value::Next},
    {"qwindowtitle", Value::Next},
    {"geometry", Value::Next},
    {"title", Value::Next},
    {"icon", Value::Next},
    {"session", Value::Next},
    {"display", Value::Next},
    {"name", Value::Next},
    {"visual", Value::Next},
    {"style", Value::NextOrJoined},
    {"stylesheet", Value::NextOrJoined},
    {"qmljsdebugger", Value::NextOrJoined},
    {"reverse", Value::None},
    {"widgetcount", Value::None},
    {"testability", Value::None},
    {"nograb", Value::None},
    {"dograb", Value::None},
};

// How many arguments the toolkit's option at `arguments[at]` takes, its value included: 0 when
// it is none of them, and -1 when its value is missing.
qsizetype ToolkitOptionLength(const QByteArrayList& arguments, qsizetype at) {
    QByteArray name = arguments[at].mid(arguments[at].startsWith("--") ? 2 : 1);
    const qsizetype equals = name.indexOf('=');
    const bool joined = equals >= 0;
    if (joined) {
        name.truncate(equals);
    }
    const auto* option =
        std::find_if(std::begin(kToolkitOptions), std::end(kToolkitOptions),
                     [&](const ToolkitOption& known) { return name == known.name; });
    if (option == std::end(kToolkitOptions) || (joined && option->value != Value::NextOrJoined)) {
        return 0;
    }
    if (joined || option->value == Value::None) {
        return 1;
    }
    return at + 1 < arguments.size() ? 2 : -1;
}

CommandLineRequest Misuse(const QString& what) {
    return {CommandLineRequest::Kind::Misuse, {}, what, 0};
}
}  // namespace

CommandLineRequest ParseCommandLine(const QByteArrayList& arguments) {
    CommandLineRequest request;
    request.toolkitArguments = arguments.size();
    bool optionsEnded = false;
    for (qsizetype at = 0; at < arguments.size(); ++at) {
        const QByteArray& argument = arguments[at];
        // A lone dash is a file's name: nothing here reads standard input.
        if (optionsEnded || !argument.startsWith('-') || argument == "-") {
            request.files << argument;
        } else if (argument == "--") {
            optionsEnded = true;
            request.toolkitArguments = at;
        } else if (argument == "--help" || argument == "-h") {
            return {CommandLineRequest::Kind::Help, {}, {}, 0};
        } else if (argument == "--version") {
            return {CommandLineRequest::Kind::Version, {}, {}, 0};
        } else if (const qsizetype length = ToolkitOptionLength(arguments, at); length > 0) {
            at += length - 1;
        } else if (length < 0) {
            return Misuse(
                QStringLiteral("option '%1' needs a value").arg(QFile::decodeName(argument)));
        } else {
            return Misuse(QStringLiteral("unknown option '%1'").arg(QFile::decodeName(argument)));
        }
    }
    return request;
}

QString CommandLineUsage() {
    return QStringLiteral(
        "Usage: quorvane [FILE...]\n"
        "Cuts long lines of text into pieces at a delimiter.\n"
        "\n"
        "With FILEs, the window for many long lines opens with every line of the files in its\n"
        "list, loaded as \"Load Long Lines From Text File\" loads them. After \"--\" every\n"
        "argument is a FILE, even one that starts with a dash.\n"
        "\n"
        "Options:\n"
        "  -h, --help     show this help and exit\n"
        "      --version  show the version and exit\n"
        "Qt's own options (-style, -platform, -display and the like) go before \"--\".\n");
}
