// Placeholder entry point until the dialog exists.
#include <cstdio>
int main() {
    std::puts("415_MainPicture_Config: the dialog is not built yet");
    return 0;
}
