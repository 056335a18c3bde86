// Writes a synthetic data folder: generate_registers PERSONS FOLDER [SEED] [--dot FILE]
// (--dot also writes the family as a Graphviz graph, for comparing with `dot -Tpng`).
#include "register_generator.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: generate_registers PERSONS FOLDER [SEED] [--dot FILE]\n";
        return 1;
    }
    bench::GeneratorOptions o;
    o.persons = std::stoi(argv[1]);
    std::string dot;
    for (int i = 3; i < argc; ++i) {
        if (std::string(argv[i]) == "--dot" && i + 1 < argc) {
            dot = argv[++i];
        } else {
            o.seed = static_cast<std::uint32_t>(std::stoul(argv[i]));
        }
    }
    try {
        const auto data = bench::writeGeneratedFolder(argv[2], o);
        std::cout << data.reg.personCount() << " persons, " << data.reg.familyCount()
                  << " families written to " << argv[2] << "\n";
        if (!dot.empty()) {
            std::ofstream(dot, std::ios::binary) << bench::dotGraph(data.reg);
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
