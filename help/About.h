#pragma once
// The About box. Placeholder: the box itself is not built yet, so the command does nothing.

void ShowAbout();
