#include <cstdio>

int main() {
    std::puts("tesselwright: not built yet");
    return 1;
}
