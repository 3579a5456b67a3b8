#pragma once

// Which of the standard descriptors were closed when the program started.
struct ClosedStandardStreams {
    bool input = false;
    bool output = false;
    bool error = false;
};

// Puts /dev/null on each of descriptors 0 to 2 that is closed. A program started with one of
// them closed (`quorvane 2>&-`) would otherwise hand that number to the first thing it opens,
// such as the connection to the display, and its warnings would be written into it. Called
// first in main, before anything opens a file.
ClosedStandardStreams OpenNullOnClosedStandardStreams();
