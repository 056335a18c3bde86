// Writes a synthetic data folder: generate_registers PERSONS FOLDER [SEED]
#include "register_generator.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: generate_registers PERSONS FOLDER [SEED]\n";
        return 1;
    }
    bench::GeneratorOptions o;
    o.persons = std::stoi(argv[1]);
    if (argc > 3) {
        o.seed = static_cast<std::uint32_t>(std::stoul(argv[3]));
    }
    try {
        const auto data = bench::writeGeneratedFolder(argv[2], o);
        std::cout << data.reg.personCount() << " persons, " << data.reg.familyCount()
                  << " families written to " << argv[2] << "\n";
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
