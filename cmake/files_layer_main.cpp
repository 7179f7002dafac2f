// Linked with the whole file-logic library and Qt Core alone: it builds only while that
// library needs nothing above it.
int main() { return 0; }
