// Linked into each Windows program: arguments reach it as typed, for the runtime expands no
// wildcards.
extern "C" {
int _dowildcard = 0;
}
