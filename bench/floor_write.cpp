// The floor of writing a chart's file: BYTES zero bytes written the way "図面.BMP" is written
// (from a zeroed buffer of one band, a band a write, into a temporary file beside OUT, synced,
// renamed over OUT, the folder synced), and nothing else. The whole `tsubaki --chart OUT.bmp`
// process is compared with this one: floor_write BYTES OUT
#include "render/raster.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: floor_write BYTES OUT\n");
        return 1;
    }
    const unsigned long long total = std::strtoull(argv[1], nullptr, 10);
    const std::filesystem::path out(argv[2]);
    std::filesystem::path folder = out.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::string temporary = (folder / ("." + out.filename().string() + ".tmpXXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        std::perror("mkstemp");
        return 1;
    }
    const std::vector<char> band(render::kBandBytes, 0);
    for (unsigned long long done = 0; done < total;) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<unsigned long long>(band.size(), total - done));
        const ssize_t w = ::write(fd, band.data(), n);
        if (w <= 0) {
            std::perror("write");
            return 1;
        }
        done += static_cast<unsigned long long>(w);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temporary.c_str(), out.c_str()) != 0) {
        std::perror("finish");
        return 1;
    }
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return 0;
}
