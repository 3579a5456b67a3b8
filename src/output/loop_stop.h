#pragma once

#include <functional>

// Asked after every yield of an output loop: true when the window that started the loop has
// gone, so the loop ends without leaving anything half done.
using LoopStop = std::function<bool()>;
