#include "main_window/main_window.h"
#include "platform/qt/qt_platform.h"
#include "shell/command_line.h"
#include "shell/guarded_application.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {
QStringList ArgumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QFile::decodeName(argv[i]);
    }
    return arguments;
}

// Answers a request that opens no window, and gives the program's exit status.
int Answer(const CommandLineRequest& request) {
    const QByteArray usage = CommandLineUsage().toLocal8Bit();
    switch (request.kind) {
        case CommandLineRequest::Kind::Help:
            std::fputs(usage.constData(), stdout);
            return 0;
        case CommandLineRequest::Kind::Version:
            std::printf("quorvane %s\n", QUORVANE_VERSION);
            return 0;
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
    // The help and the version need no display, so they are answered before Qt looks for one.
    const CommandLineRequest early = ParseCommandLine(ArgumentsOf(argc, argv));
    if (early.kind == CommandLineRequest::Kind::Help ||
        early.kind == CommandLineRequest::Kind::Version) {
        return Answer(early);
    }
    const QtMessageHandler usualHandler = qInstallMessageHandler(HoldBackStartMessage);
    GuardedApplication app(argc, argv);
    qInstallMessageHandler(usualHandler);
    for (const QByteArray& message : std::as_const(heldBackMessages)) {
        std::fprintf(stderr, "%s\n", message.constData());
    }
    heldBackMessages.clear();
    // Qt has taken its own options (-style, -platform and the like) out of the arguments.
    const CommandLineRequest request = ParseCommandLine(QApplication::arguments().mid(1));
    if (request.kind != CommandLineRequest::Kind::Start) {
        return Answer(request);
    }
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
