#include "main_window/main_window.h"
#include "platform/qt/qt_platform.h"
#include "platform/standard_streams.h"
#include "shell/command_line.h"
#include "shell/guarded_application.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
// Writes the answer to --help or --version. Nobody reads an answer that went nowhere, so a
// closed or full standard output is a failure, said on standard error.
int WriteAnswer(const QByteArray& answer, bool outputClosed) {
    if (outputClosed) {
        std::fputs("quorvane: standard output is closed, so nothing was written\n", stderr);
        return 1;
    }
    if (std::fputs(answer.constData(), stdout) < 0 || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "quorvane: could not write to standard output (%s)\n",
                     std::strerror(errno));
        return 1;
    }
    return 0;
}

// Answers a request that opens no window, and gives the program's exit status.
int Answer(const CommandLineRequest& request, bool outputClosed) {
    const QByteArray usage = CommandLineUsage().toLocal8Bit();
    switch (request.kind) {
        case CommandLineRequest::Kind::Help:
            return WriteAnswer(usage, outputClosed);
        case CommandLineRequest::Kind::Version:
            return WriteAnswer(QByteArrayLiteral("quorvane " QUORVANE_VERSION "\n"), outputClosed);
        case CommandLineRequest::Kind::Misuse:
        case CommandLineRequest::Kind::Start:
            break;
    }
    std::fprintf(stderr, "quorvane: %s\n%s", request.misuse.toLocal8Bit().constData(),
                 usage.constData());
    return 2;
}

// Which display the program looked for, in the words of the environment that named it.
QByteArray DisplaysLookedFor() {
    QByteArrayList named;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty()) {
            named << QByteArray(variable) + "=" + value;
        }
    }
    return named.isEmpty() ? QByteArrayLiteral("DISPLAY is not set") : named.join(", ");
}

// Qt ends the program with an abort, after several lines about platform plugins, when it finds no
// display. While the application object is made, its messages are held back: a fatal one
// becomes one line that says which display was missing, and exit status 1.
QList<QByteArray> heldBackMessages;
void HoldBackStartMessage(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "quorvane: no display could be opened (%s)\n",
                     DisplaysLookedFor().constData());
        std::_Exit(1);
    }
    const QByteArray category = context.category ? QByteArray(context.category) : QByteArray();
    heldBackMessages << (category.isEmpty() || category == "default" ? QByteArray()
                                                                     : category + ": ") +
                            message.toLocal8Bit();
}
}  // namespace

int main(int argc, char* argv[]) {
    const ClosedStandardStreams closed = OpenNullOnClosedStandardStreams();
    // The help, the version and a misuse need no display, so they are answered before Qt looks
    // for one.
    const CommandLineRequest request = ParseCommandLine(QByteArrayList(argv + 1, argv + argc));
    if (request.kind != CommandLineRequest::Kind::Start) {
        return Answer(request, closed.output);
    }
    // Qt sees only the arguments before "--", so that a file named like one of its options is
    // never taken for one. It keeps both for as long as the application object lives.
    int toolkitArgc = 1 + static_cast<int>(request.toolkitArguments);
    std::vector<char*> toolkitArgv(argv, argv + toolkitArgc);
    toolkitArgv.push_back(nullptr);
    const QtMessageHandler usualHandler = qInstallMessageHandler(HoldBackStartMessage);
    GuardedApplication app(toolkitArgc, toolkitArgv.data());
    qInstallMessageHandler(usualHandler);
    for (const QByteArray& message : std::as_const(heldBackMessages)) {
        std::fprintf(stderr, "%s\n", message.constData());
    }
    heldBackMessages.clear();
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    // Docks and window switchers match the windows to the installed desktop entry by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quorvane.Quorvane"));
    QtPlatform host;
    app.setMessages(&host.platform().messages);
    MainWindow mainWindow(host.platform());
    mainWindow.load();
    mainWindow.showCentred();
    if (!request.files.isEmpty()) {
        mainWindow.openBatchWindowWith(request.files);
    }
    const int status = QApplication::exec();
    app.setMessages(nullptr);
    return status;
}
