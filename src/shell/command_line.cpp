#include "shell/command_line.h"

CommandLineRequest ParseCommandLine(const QStringList& arguments) {
    CommandLineRequest request;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        // A lone dash is a file's name: nothing here reads standard input.
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-") {
            request.files << argument;
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (argument == u"--help" || argument == u"-h") {
            return {CommandLineRequest::Kind::Help, {}, {}};
        } else if (argument == u"--version") {
            return {CommandLineRequest::Kind::Version, {}, {}};
        } else {
            return {CommandLineRequest::Kind::Misuse,
                    {},
                    QStringLiteral("unknown option '%1'").arg(argument)};
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
        "list, loaded as \"Load Long Lines From Text File\" loads them.\n"
        "\n"
        "Options:\n"
        "  -h, --help     show this help and exit\n"
        "      --version  show the version and exit\n");
}
