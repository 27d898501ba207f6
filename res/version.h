#pragma once
// The one place that holds the version and the publisher: the program's code, every binary's
// version resource and the installer (installer/Tapvox.nsi reads this file) take them from here.

#define TAPVOX_VERSION_MAJOR 2
#define TAPVOX_VERSION_MINOR 5
#define TAPVOX_VERSION_RELEASE 1
#define TAPVOX_VERSION_BUILD 0
#define TAPVOX_VERSION_TEXT "2.5.1.0"
#define TAPVOX_COMPANY "Quillmark"
#define TAPVOX_PRODUCT "Tapvox"
