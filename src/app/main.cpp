// Program entry. The main window is not built yet; until then the program says so and exits.
#include <cstdio>

int main() {
    std::puts("Moradex is built. The main window is not there yet.");
    return 0;
}
