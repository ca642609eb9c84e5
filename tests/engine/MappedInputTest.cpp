// The mapped source qpdf reads: what it lets go of as qpdf reads on.

#include "TempDir.h"

#include "engine/host/MappedInput.h"

#include <qpdf/InputSource.hh>

#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

TEST(MappedInput, AnOffsetPastTheEndLetsGoOfNothingElse) {
    // Memory right above the mapping, as the heap or a library's data may be: a
    // new mapping goes to the top of the highest gap it fits, which for one this
    // large is just below the memory mapped first.
    const size_t bytes = size_t(32) << 20, fileBytes = size_t(48) << 20;
    char* above = static_cast<char*>(
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(MAP_FAILED, static_cast<void*>(above));
    std::memset(above, 0x5a, bytes);
    TempDir dir;
    const std::string path = dir.file("sparse.pdf");
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(0, ::ftruncate(fd, static_cast<off_t>(fileBytes)));
    std::unique_ptr<MappedInput> input = MappedInput::Open(fd);
    ::close(fd);
    ASSERT_TRUE(input);
    if (input->data() + fileBytes != above) {
        ::munmap(above, bytes);
        GTEST_SKIP() << "the mapping went elsewhere";
    }
    // A wrong offset in a hostile file sends qpdf far past the end.
    input->source()->seek(static_cast<qpdf_offset_t>(fileBytes + (size_t(40) << 20)), SEEK_SET);
    char c = 0;
    EXPECT_EQ(0u, input->source()->read(&c, 1));
    EXPECT_EQ(0x5a, above[0]);
    EXPECT_EQ(0x5a, above[bytes - 1]);
    ::munmap(above, bytes);
}

} // namespace
