// The start-up floor of the benchmark: a program that does nothing, loaded
// with the same libraries as tonalith. No run of tonalith can be faster.
int main() { return 0; }
