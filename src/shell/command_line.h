#pragma once

#include <QByteArrayList>
#include <QString>

// What the program is asked for on its command line: `quorvane [FILE...]`, where files (as a
// file manager's "Open with" names them) open the batch window with their lines loaded.
struct CommandLineRequest {
    enum class Kind { Start, Help, Version, Misuse };
    Kind kind = Kind::Start;
    // For Start, in the order given, as the system's bytes: a file's name need not be text in
    // the locale's encoding, and decoding it would name another file, or none.
    QByteArrayList files;
    QString misuse;  // for Misuse, what was wrong
    // How many arguments, from the first, the toolkit may see: those before "--", among which
    // its own options (-style fusion, -platform xcb and the like) may stand. Past "--" every
    // argument is a file, even one that looks like one of its options.
    qsizetype toolkitArguments = 0;
};

// `arguments` come without the program's name. "--" ends the options: what follows is a file
// even when it starts with a dash. An option that is neither ours nor the toolkit's is a
// misuse, found before any display is looked for.
CommandLineRequest ParseCommandLine(const QByteArrayList& arguments);

// The text --help shows; a misuse shows it too.
QString CommandLineUsage();
