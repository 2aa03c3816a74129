#include "wizard/Quenbrook.h"

int main(int argc, char** argv) {
  return qb::runQuenbrook(argc, argv);
}
