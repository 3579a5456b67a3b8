#pragma once

#include <QString>
#include <QStringList>

// What the program is asked for on its command line: `quorvane [FILE...]`, where files (as a
// file manager's "Open with" names them) open the batch window with their lines loaded.
struct CommandLineRequest {
    enum class Kind { Start, Help, Version, Misuse };
    Kind kind = Kind::Start;
    QStringList files;  // for Start, in the order given
    QString misuse;     // for Misuse, what was wrong
};

// `arguments` come without the program's name. "--" ends the options: what follows is a file
// even when it starts with a dash.
CommandLineRequest ParseCommandLine(const QStringList& arguments);

// The text --help shows; a misuse shows it too.
QString CommandLineUsage();
