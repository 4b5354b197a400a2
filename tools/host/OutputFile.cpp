#include "OutputFile.h"

#include "HostError.h"
#include "StandardStreams.h"

#include "platform/Files.h"

#include <cerrno>
#include <cstring>

namespace vibrascend::host {

namespace {

// A chain of symbolic links longer than this is taken for a loop, as the system does.
constexpr int kMaxLinks = 40;

enum class Way {
    StandardOutput,
    Stream,
    ReplaceExisting,
    Create
};

struct Plan {
    Way way;
    std::filesystem::path target;
};

Plan PlanFor(const std::filesystem::path& destination, const std::string& failure)
{
    if (IsStandardStream(destination)) {
        if (platform::IsTerminal(stdout)) {
            throw HostError(failure + "it is a terminal (redirect it to a file or a pipe)");
        }
        return {Way::StandardOutput, {}};
    }
    std::filesystem::path target = destination;
    for (int links = 0;; ++links) {
        std::error_code error;
        const auto status = std::filesystem::symlink_status(target, error);
        if (status.type() == std::filesystem::file_type::not_found)
            return {Way::Create, target};
        if (error)
            throw HostError(failure + error.message());
        switch (status.type()) {
        case std::filesystem::file_type::symlink: {
            if (links == kMaxLinks)
                throw HostError(failure + "too many levels of symbolic links");
            const auto link = std::filesystem::read_symlink(target, error);
            if (error)
                throw HostError(failure + error.message());
            target = link.is_absolute() ? link : target.parent_path() / link;
            break;
        }
        case std::filesystem::file_type::regular:
            if (!platform::MayWrite(target)) {
                throw HostError(failure + (errno == EACCES || errno == EPERM ? std::string("the file is read-only")
                                                                             : std::strerror(errno)));
            }
            return {Way::ReplaceExisting, target};
        case std::filesystem::file_type::directory: throw HostError(failure + "it is a folder");
        default: return {Way::Stream, target};
        }
    }
}

std::string Failure(const std::string& what, const std::string& name) { return "cannot write " + what + name + ": "; }

}  // namespace

OutputFile::OutputFile(const std::filesystem::path& destination, std::string kind)
    : name(OutputName(destination)), what(std::move(kind))
{
    const Plan plan = PlanFor(destination, Failure(what, name));
    target = plan.target;
    switch (plan.way) {
    case Way::StandardOutput: file = platform::StandardOutput(); break;
    case Way::Stream: owned.reset(platform::OpenForStreaming(target)); break;
    case Way::ReplaceExisting:
    case Way::Create:
        replacing = true;
        owned.reset(platform::CreatePartialFile(target, partial, plan.way == Way::ReplaceExisting));
        break;
    }
    if (plan.way != Way::StandardOutput) {
        if (!owned)
            Fail(std::strerror(errno));
        file = owned.get();
    }
    if (platform::CanRewrite(file)) {
        start = ftello(file);
        rewritable = start >= 0;
    }
}

OutputFile::~OutputFile()
{
    if (replacing && !committed) {
        owned.reset();
        platform::DiscardPartialFile(partial);
    } else if (!owned && file != nullptr) {
        std::fflush(file);
    }
}

void OutputFile::Check(const std::filesystem::path& destination, const std::string& what)
{
    PlanFor(destination, Failure(what, OutputName(destination)));
}

void OutputFile::Fail(const std::string& reason) const { throw HostError(Failure(what, name) + reason); }

void OutputFile::Write(const void* data, std::size_t size)
{
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        Fail(std::strerror(errno));
}

void OutputFile::Rewrite(std::uint64_t offset, const void* data, std::size_t size)
{
    if (!rewritable || fseeko(file, static_cast<off_t>(start + static_cast<std::int64_t>(offset)), SEEK_SET) != 0 ||
        std::fwrite(data, 1, size, file) != size || fseeko(file, 0, SEEK_END) != 0) {
        Fail(std::strerror(errno));
    }
}

void OutputFile::Commit()
{
    if (committed)
        return;
    if (replacing) {
        if (!platform::SyncFile(file) || std::fclose(owned.release()) != 0)
            Fail(std::strerror(errno));
        std::error_code error;
        platform::CommitPartialFile(partial, target, error);
        if (error)
            Fail(error.message());
    } else {
        if (std::fflush(file) != 0)
            Fail(std::strerror(errno));
        if (owned && std::fclose(owned.release()) != 0)
            Fail(std::strerror(errno));
    }
    file = nullptr;
    committed = true;
}

}  // namespace vibrascend::host
