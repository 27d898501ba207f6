// schemegen OUTDIR: synthesises every bundled sound scheme into OUTDIR/<scheme name>/.
#include <cstdio>
#include <string>

#include "tools/schemegen/SchemeWriter.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: schemegen OUTDIR\n");
        return 2;
    }
    std::string error;
    if (!schemegen::WriteAllSchemes(argv[1], error)) {
        std::fprintf(stderr, "schemegen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
