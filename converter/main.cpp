#include <cstdio>

int main() {
  std::puts("vxp2bmp");
  return 0;
}
