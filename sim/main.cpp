#include <cstdio>

int main() {
  std::puts("mav7700-sim: the gateway simulator is not built yet");
  return 1;
}
