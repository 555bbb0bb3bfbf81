#include "cli/tool.h"

int main(int argc, char** argv) {
    return edt::cli::runTool(argc, argv, stdout, stderr);
}
