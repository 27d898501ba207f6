#include "help/About.h"

// Placeholder until the About box and its dialog template exist.
void ShowAbout() {}
