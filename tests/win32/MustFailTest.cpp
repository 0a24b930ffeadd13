// A test that fails on purpose. WineTest runs it to prove that a failing Windows test really
// reports failure: a Wine that cannot run 32-bit programs exits 0 and prints nothing.
#include <cstdio>

int main() {
    std::printf("FAIL: this test fails on purpose\n");
    std::printf("0 passed, 1 failed\n");
    return 1;
}
