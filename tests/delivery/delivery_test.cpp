// The open-document action as a click runs it: real files in c:\Korventa, a real program
// holding a document open, and a real application registered for .xls and .doc that logs
// what the shell asked it to open. Every case checks the message, the bytes on disk, the
// files in the folder and whether the shell was asked.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "delivery/OpenDocument.h"
#include "delivery/WorkingFolder.h"
#include "store/TemplateStore.h"
#include "tests/TestSupport.h"
#include "tests/delivery/DeliveryTestSupport.h"
#include "ui/Exceptions.h"

namespace korventa {
namespace {

using test::Bytes;
using test::FileHolder;
using test::FolderListing;
using test::InWorkingFolder;
using test::LastWriteTime;
using test::ShellLog;
using test::ShellRequestFor;

// When the user last saved a file, in local time: a Friday in the past, so that a rewrite is later.
const SYSTEMTIME kSavedAt = {2025, 3, 5, 14, 9, 26, 53, 0};
constexpr wchar_t kSavedAtStamp[] = L"2025-03-14 09-26-53";

Bytes TemplateBytes(std::wstring_view resourceName) {
    const TemplateImage image(resourceName);
    return {image.Bytes().begin(), image.Bytes().end()};
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// The message of the exception E that the call raised; a failure when it raised none or another.
template <class E, class Call>
std::wstring MessageOf(Call&& call) {
    try {
        call();
    } catch (const E& e) {
        return e.Message();
    } catch (const Exception& e) {
        ADD_FAILURE() << "raised another exception: " << testing::PrintToString(e.Message());
        return {};
    }
    ADD_FAILURE() << "raised nothing";
    return {};
}

class OpenDocumentTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::RemoveTree(kWorkingFolder));
        ASSERT_TRUE(CreateDirectoryW(kWorkingFolder, nullptr));  // as start-up leaves it
        association_.emplace(test::HostPath(KORVENTA_SHELL_RECORDER));
        ASSERT_TRUE(association_->Registered());
    }
    void TearDown() override {
        association_.reset();
        EXPECT_TRUE(test::RemoveTree(kWorkingFolder));
    }

    // A file the user saved over the template, last written at kSavedAt.
    static void SaveUserEdit(const std::wstring& path, const Bytes& bytes) {
        ASSERT_TRUE(test::WriteWholeFile(path, bytes));
        ASSERT_TRUE(test::SetLastWriteLocalTime(path, kSavedAt));
    }

    ShellLog shell_;
    std::optional<test::ScopedAssociation> association_;
};

TEST_F(OpenDocumentTest, WritesTheTemplateAndAsksTheShellForExactlyThatPath) {
    struct Delivery {
        const wchar_t* resourceName;
        const wchar_t* fileName;
    };
    const Delivery deliveries[] = {
        {L"DOC1", L"НР 1.01.xls"},
        {L"DOC40", L"НР 1.46.11, 100.12.xls"},
        {L"DOC75", L"Приказ об учетной политике.doc"},
    };
    std::vector<std::wstring> names, requests;
    for (const auto& delivery : deliveries) {
        const std::wstring path = InWorkingFolder(delivery.fileName);
        OpenDocument(delivery.resourceName, path, nullptr);
        EXPECT_EQ(TemplateBytes(delivery.resourceName), test::ReadWholeFile(path).value_or(Bytes{})) << path;
        names.push_back(delivery.fileName);
        requests.push_back(ShellRequestFor(path));
    }
    EXPECT_EQ(Sorted(names), FolderListing());
    // The requests run asynchronously, so their order is not fixed.
    EXPECT_EQ(Sorted(requests), Sorted(shell_.Requests(requests.size())));
}

TEST_F(OpenDocumentTest, KeepsAFileTheUserChangedUnderTheTimeItWasLastSaved) {
    const std::wstring path = InWorkingFolder(L"НР 1.01.xls");
    const std::wstring kept = InWorkingFolder(L"НР 1.01 (" + std::wstring(kSavedAtStamp) + L").xls");
    const std::wstring keptAgain = InWorkingFolder(L"НР 1.01 (" + std::wstring(kSavedAtStamp) + L") (2).xls");
    const Bytes firstEdit = test::TextBytes("the accountant's first figures");
    const Bytes secondEdit = test::TextBytes("the accountant's second figures, saved at the same second");

    OpenDocument(L"DOC1", path, nullptr);
    SaveUserEdit(path, firstEdit);
    OpenDocument(L"DOC1", path, nullptr);
    SaveUserEdit(path, secondEdit);
    OpenDocument(L"DOC1", path, nullptr);

    EXPECT_EQ(TemplateBytes(L"DOC1"), test::ReadWholeFile(path).value_or(Bytes{}));
    EXPECT_EQ(firstEdit, test::ReadWholeFile(kept).value_or(Bytes{}));
    EXPECT_EQ(secondEdit, test::ReadWholeFile(keptAgain).value_or(Bytes{}));
    EXPECT_EQ(test::LocalToFileTime(kSavedAt), LastWriteTime(kept));
    EXPECT_EQ(Sorted({L"НР 1.01.xls", L"НР 1.01 (2025-03-14 09-26-53).xls", L"НР 1.01 (2025-03-14 09-26-53) (2).xls"}),
              FolderListing());
    EXPECT_EQ(std::vector<std::wstring>(3, ShellRequestFor(path)), shell_.Requests(3));
}

TEST_F(OpenDocumentTest, RewritesAFileEqualToTheTemplateWithoutKeepingACopy) {
    const std::wstring path = InWorkingFolder(L"НР 1.46.11, 100.12.xls");
    OpenDocument(L"DOC40", path, nullptr);
    ASSERT_TRUE(test::SetLastWriteLocalTime(path, kSavedAt));

    OpenDocument(L"DOC40", path, nullptr);

    EXPECT_EQ(TemplateBytes(L"DOC40"), test::ReadWholeFile(path).value_or(Bytes{}));
    EXPECT_GT(LastWriteTime(path), test::LocalToFileTime(kSavedAt)) << "the file was not written again";
    EXPECT_EQ(Sorted({L"НР 1.46.11, 100.12.xls"}), FolderListing());
    EXPECT_EQ(std::vector<std::wstring>(2, ShellRequestFor(path)), shell_.Requests(2));
}

// A target Windows refuses to create over, or one that another program holds open.
struct Refusal {
    const char* name;
    DWORD attribute;  // 0: held open with no sharing by another process
};
void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

class RefusedTargetTest : public OpenDocumentTest, public testing::WithParamInterface<Refusal> {};

TEST_P(RefusedTargetTest, LeavesTheFileUntouchedAndTheNextClickWorks) {
    const std::wstring path = InWorkingFolder(L"НР 1.01.xls");
    const Bytes edited = test::TextBytes("figures the accountant entered");
    SaveUserEdit(path, edited);
    const DWORD attributes = GetParam().attribute;
    {
        std::optional<FileHolder> holder;
        if (attributes != 0) {
            ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
            ASSERT_EQ(attributes, GetFileAttributesW(path.c_str()) & attributes) << "the file system keeps no such attribute";
        } else {
            holder.emplace(path);
            ASSERT_TRUE(holder->Holding());
        }
        const DWORD before = GetFileAttributesW(path.c_str());

        EXPECT_EQ(L"Cannot create file " + path, MessageOf<EFCreateError>([&] { OpenDocument(L"DOC1", path, nullptr); }));

        EXPECT_EQ(before, GetFileAttributesW(path.c_str()));
    }
    if (attributes != 0) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    }
    EXPECT_EQ(edited, test::ReadWholeFile(path).value_or(Bytes{}));
    EXPECT_EQ(test::LocalToFileTime(kSavedAt), LastWriteTime(path));
    EXPECT_EQ(Sorted({L"НР 1.01.xls"}), FolderListing());
    EXPECT_TRUE(shell_.Requests(0).empty());

    OpenDocument(L"DOC1", path, nullptr);
    EXPECT_EQ(TemplateBytes(L"DOC1"), test::ReadWholeFile(path).value_or(Bytes{}));
    EXPECT_EQ(Sorted({L"НР 1.01.xls", L"НР 1.01 (2025-03-14 09-26-53).xls"}), FolderListing());
    EXPECT_EQ(std::vector<std::wstring>{ShellRequestFor(path)}, shell_.Requests(1));
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedTargetTest,
                         testing::Values(Refusal{"ReadOnly", FILE_ATTRIBUTE_READONLY},
                                         Refusal{"Hidden", FILE_ATTRIBUTE_HIDDEN},
                                         Refusal{"System", FILE_ATTRIBUTE_SYSTEM},
                                         Refusal{"OpenInAnotherProgram", 0}),
                         [](const testing::TestParamInfo<Refusal>& info) { return info.param.name; });

TEST_F(OpenDocumentTest, AFileNamedLikeTheWorkingFolderFailsEveryClickUntilItIsGone) {
    ASSERT_TRUE(test::RemoveTree(kWorkingFolder));
    const Bytes inTheWay = test::TextBytes("a file, not a folder");
    ASSERT_TRUE(test::WriteWholeFile(kWorkingFolder, inTheWay));
    const std::wstring path = InWorkingFolder(L"НР 1.01.xls");

    for (int click = 0; click < 2; ++click)
        EXPECT_EQ(L"Cannot create file " + path, MessageOf<EFCreateError>([&] { OpenDocument(L"DOC1", path, nullptr); }));

    EXPECT_EQ(inTheWay, test::ReadWholeFile(kWorkingFolder).value_or(Bytes{}));
    EXPECT_TRUE(shell_.Requests(0).empty());

    ASSERT_TRUE(test::RemoveTree(kWorkingFolder));
    OpenDocument(L"DOC1", path, nullptr);
    EXPECT_EQ(TemplateBytes(L"DOC1"), test::ReadWholeFile(path).value_or(Bytes{}));
    EXPECT_EQ(std::vector<std::wstring>{ShellRequestFor(path)}, shell_.Requests(1));
}

TEST_F(OpenDocumentTest, AWorkingFolderDeletedWhileRunningComesBackAtTheNextClick) {
    const std::wstring path = InWorkingFolder(L"Приказ об учетной политике.doc");
    OpenDocument(L"DOC75", path, nullptr);
    ASSERT_TRUE(test::RemoveTree(kWorkingFolder));

    OpenDocument(L"DOC75", path, nullptr);

    EXPECT_EQ(TemplateBytes(L"DOC75"), test::ReadWholeFile(path).value_or(Bytes{}));
    EXPECT_EQ(Sorted({L"Приказ об учетной политике.doc"}), FolderListing());
    EXPECT_EQ(std::vector<std::wstring>(2, ShellRequestFor(path)), shell_.Requests(2));
}

TEST_F(OpenDocumentTest, AMissingTemplateWritesNothingButTheFolderIsCreated) {
    ASSERT_TRUE(test::RemoveTree(kWorkingFolder));
    const std::wstring path = InWorkingFolder(L"НР 9.99.xls");

    EXPECT_EQ(L"Resource DOC999 not found",
              MessageOf<EResNotFound>([&] { OpenDocument(L"DOC999", path, nullptr); }));

    const DWORD folder = GetFileAttributesW(kWorkingFolder);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, folder);
    EXPECT_TRUE(folder & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(FolderListing().empty());
    EXPECT_TRUE(shell_.Requests(0).empty());

    OpenDocument(L"DOC1", path, nullptr);
    EXPECT_EQ(std::vector<std::wstring>{ShellRequestFor(path)}, shell_.Requests(1));
}

// Write requests as the action makes them, passed on to WriteFile.
struct WriteRequest {
    const void* data;
    DWORD size;
};
std::vector<WriteRequest> writeRequests;

BOOL RecordedWrite(HANDLE file, const void* data, DWORD size, DWORD* written) {
    writeRequests.push_back({data, size});
    return WriteFile(file, data, size, written, nullptr);
}

TEST_F(OpenDocumentTest, WritesTheWholeTemplateInOneRequestStraightFromTheStore) {
    writeRequests.clear();
    const std::wstring path = InWorkingFolder(L"НР 1.01.xls");
    detail::OpenDocument(L"DOC1", path, nullptr, RecordedWrite);

    const TemplateImage image(L"DOC1");
    ASSERT_EQ(1u, writeRequests.size());
    EXPECT_EQ(image.Data(), writeRequests[0].data);
    EXPECT_EQ(image.Size(), writeRequests[0].size);
    EXPECT_EQ(std::vector<std::wstring>{ShellRequestFor(path)}, shell_.Requests(1));
}

TEST_F(OpenDocumentTest, AnEmptyTemplateMakesAnEmptyFileWithoutAWriteRequest) {
    writeRequests.clear();
    const std::wstring path = InWorkingFolder(L"Пустой.xls");
    detail::OpenDocument(L"EMPTY", path, nullptr, RecordedWrite);

    EXPECT_TRUE(writeRequests.empty());
    const auto written = test::ReadWholeFile(path);
    ASSERT_TRUE(written);
    EXPECT_TRUE(written->empty());
    EXPECT_EQ(Sorted({L"Пустой.xls"}), FolderListing());
    EXPECT_EQ(std::vector<std::wstring>{ShellRequestFor(path)}, shell_.Requests(1));
}

// Writes the first half, then reports the short count (a full disk) or a failure.
BOOL WriteHalf(HANDLE file, const void* data, DWORD size, DWORD* written) {
    return WriteFile(file, data, size / 2, written, nullptr);
}
BOOL WriteHalfThenFail(HANDLE file, const void* data, DWORD size, DWORD* written) {
    WriteFile(file, data, size / 2, written, nullptr);
    return FALSE;
}

// What stands at the target before the broken click.
enum class Before { Nothing, UserEdit, TemplateCopy };

struct BrokenWrite {
    const char* name;
    detail::WriteFn write;
    Before before;
};
void PrintTo(const BrokenWrite& brokenWrite, std::ostream* out) { *out << brokenWrite.name; }

class BrokenWriteTest : public OpenDocumentTest, public testing::WithParamInterface<BrokenWrite> {};

TEST_P(BrokenWriteTest, LeavesTheOldFileAndNoTemporaryFile) {
    const std::wstring path = InWorkingFolder(L"НР 1.01.xls");
    const Bytes before = GetParam().before == Before::UserEdit ? test::TextBytes("figures the accountant entered")
                                                               : TemplateBytes(L"DOC1");
    if (GetParam().before != Before::Nothing) SaveUserEdit(path, before);

    EXPECT_EQ(L"Stream write error",
              MessageOf<EWriteError>([&] { detail::OpenDocument(L"DOC1", path, nullptr, GetParam().write); }));

    if (GetParam().before != Before::Nothing) {
        EXPECT_EQ(before, test::ReadWholeFile(path).value_or(Bytes{}));
        if (GetParam().before == Before::UserEdit) {
            EXPECT_EQ(test::LocalToFileTime(kSavedAt), LastWriteTime(path)) << "the user's file was not touched";
        }
        EXPECT_EQ(Sorted({L"НР 1.01.xls"}), FolderListing());
    } else {
        EXPECT_TRUE(FolderListing().empty());
    }
    EXPECT_TRUE(shell_.Requests(0).empty());

    OpenDocument(L"DOC1", path, nullptr);
    EXPECT_EQ(TemplateBytes(L"DOC1"), test::ReadWholeFile(path).value_or(Bytes{}));
    EXPECT_EQ(std::vector<std::wstring>{ShellRequestFor(path)}, shell_.Requests(1));
}

INSTANTIATE_TEST_SUITE_P(PartWay, BrokenWriteTest,
                         testing::Values(BrokenWrite{"ShortOverUserFile", WriteHalf, Before::UserEdit},
                                         BrokenWrite{"FailedOverUserFile", WriteHalfThenFail, Before::UserEdit},
                                         BrokenWrite{"ShortOverTemplateCopy", WriteHalf, Before::TemplateCopy},
                                         BrokenWrite{"FailedOverTemplateCopy", WriteHalfThenFail, Before::TemplateCopy},
                                         BrokenWrite{"ShortIntoEmptyFolder", WriteHalf, Before::Nothing},
                                         BrokenWrite{"FailedIntoEmptyFolder", WriteHalfThenFail, Before::Nothing}),
                         [](const testing::TestParamInfo<BrokenWrite>& info) { return info.param.name; });

TEST_F(OpenDocumentTest, NoApplicationForTheTypeIsNoFailure) {
    association_.reset();
    const std::wstring path = InWorkingFolder(L"НР 1.01.xls");

    EXPECT_NO_THROW(OpenDocument(L"DOC1", path, nullptr));

    EXPECT_EQ(TemplateBytes(L"DOC1"), test::ReadWholeFile(path).value_or(Bytes{}));
    EXPECT_EQ(Sorted({L"НР 1.01.xls"}), FolderListing());
}

}  // namespace
}  // namespace korventa
