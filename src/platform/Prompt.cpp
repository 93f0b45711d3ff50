#include "Prompt.h"

Prompt::~Prompt() = default;
