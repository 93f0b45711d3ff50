#include "Terminal.h"

bool Terminal::stderrIsTerminal() {
    return false;
}

int Terminal::stderrColumns() {
    return 80;
}
