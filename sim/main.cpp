#include <cstdio>

int main(int argc, char** argv) {
    std::puts("vantile-sim");
    return 0;
}
