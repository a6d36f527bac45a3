// Program entry.
#include "app/program.h"

int main() {
    return app::RunProgram();
}
