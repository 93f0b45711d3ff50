#include "Progress.h"

Progress::~Progress() = default;
