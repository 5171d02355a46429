// The process entry point: everything happens inside StartProgram.
int main() { return 0; }
