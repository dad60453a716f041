#include <cstdio>

// TODO(renderer)
int main()
{
    std::fputs("loopforge-render: not built yet\n", stderr);
    return 1;
}
