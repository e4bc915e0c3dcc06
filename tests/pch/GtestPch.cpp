// Owner of the precompiled GoogleTest header that every test binary reuses.
int main() { return 0; }
