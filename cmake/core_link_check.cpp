// Linked with every object of the portable core and nothing else: the link fails when the core
// needs anything of the Win32 layer.
int main() {
    return 0;
}
