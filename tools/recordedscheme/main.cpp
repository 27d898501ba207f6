// recordedscheme RECORDINGS LICENCE OUTDIR: makes the recorded scheme in OUTDIR/<scheme name>/
// from a folder of key recordings and the text of their licence.
#include <cstdio>
#include <string>

#include "tools/recordedscheme/RecordedScheme.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: recordedscheme RECORDINGS LICENCE OUTDIR\n");
        return 2;
    }
    std::string error;
    if (!recorded::WriteRecordedScheme(argv[1], argv[2], argv[3], error)) {
        std::fprintf(stderr, "recordedscheme: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
