#include "BoundAddOn.hpp"
#include "TranslatorHostFakes.hpp"
#include "TranslatorSettings/TranslatorStore.hpp"
#include "UniStringPrinting.hpp"

#include "MemoryManager.hpp"

namespace {

class TranslatorStore : public BoundAddOn {
protected:
    std::size_t CallsTo(std::size_t slot) const {
        std::size_t count = 0;
        for (const HostCall& call : host.Calls()) {
            count += call.slot == slot ? 1 : 0;
        }
        return count;
    }

    FakeProjectObjects project{host};
};

TEST_F(TranslatorStore, AProjectInWhichNothingWasWrittenReadsAbsentAfterOneFind) {
    EXPECT_EQ(ReadTranslatorName(), std::nullopt);
    ASSERT_EQ(host.Calls().size(), 1u);
    EXPECT_EQ(host.Calls()[0].slot, FakeSlot::ObjectFind);
    EXPECT_EQ(host.Calls()[0].arguments[0], AsArgument(&TranslatorObjectName));
}

TEST_F(TranslatorStore, TheFirstWriteCreatesTheObjectAndLaterWritesModifyThatSameObject) {
    EXPECT_TRUE(WriteTranslatorName(GS::UniString("Structural Analysis (SI)")));
    ASSERT_EQ(project.objects.size(), 1u);
    const GS::Guid created = project.objects[0].guid;
    EXPECT_TRUE(WriteTranslatorName(GS::UniString("Load-Bearing Elements Only")));
    EXPECT_TRUE(WriteTranslatorName(GS::UniString("Load-Bearing Elements Only")));

    EXPECT_EQ(project.CountNamed(TranslatorObjectName), 1u);
    EXPECT_EQ(project.objects.size(), 1u);
    EXPECT_EQ(project.objects[0].guid, created);
    EXPECT_EQ(CallsTo(FakeSlot::ObjectCreate), 1u);
    EXPECT_EQ(CallsTo(FakeSlot::ObjectModify), 2u);
    EXPECT_EQ(ReadTranslatorName(), GS::UniString("Load-Bearing Elements Only"));
}

TEST_F(TranslatorStore, TheContentIsExactlyTheChannelSerializationOfTheName) {
    const GS::UniString name(u"Tr\u00E4ger \U0001F3D7 \u6881");
    EXPECT_TRUE(WriteTranslatorName(name));
    ASSERT_EQ(project.objects.size(), 1u);
    EXPECT_TRUE(project.objects[0].name.IsEqual(TranslatorObjectName));
    EXPECT_EQ(project.objects[0].content, SerializedText(name));
    EXPECT_EQ(ReadTranslatorName(), name);
}

TEST_F(TranslatorStore, AWrittenEmptyNameReadsBackPresentAndEmpty) {
    EXPECT_TRUE(WriteTranslatorName(GS::UniString()));
    const std::optional<GS::UniString> read = ReadTranslatorName();
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->IsEmpty());
}

TEST_F(TranslatorStore, AnObjectWithoutContentHandleReadsAbsent) {
    project.Add(TranslatorObjectName, SerializedText(GS::UniString("kept")));
    project.readWithoutContent = true;
    EXPECT_EQ(ReadTranslatorName(), std::nullopt);
}

TEST_F(TranslatorStore, ContentThatIsNoSerializedStringReadsPresentWithWhatTheChannelMadeOfIt) {
    project.Add(TranslatorObjectName, {'n', 'o', 't', ' ', 'a', ' ', 's', 't', 'r', 'i', 'n', 'g'});
    std::optional<GS::UniString> read = ReadTranslatorName();
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->IsEmpty());

    // A string cut short inside its units, and content of no bytes at all.
    std::vector<char> truncated = SerializedText(GS::UniString("Structural"));
    truncated.resize(truncated.size() - 3);
    project.objects[0].content = truncated;
    read = ReadTranslatorName();
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->IsEmpty());
    project.objects[0].content.clear();
    EXPECT_TRUE(ReadTranslatorName().has_value());
}

TEST_F(TranslatorStore, AFailedFindOrReadGivesAbsent) {
    project.Add(TranslatorObjectName, SerializedText(GS::UniString("kept")));
    project.findAnswer = GSErr::Generic;
    EXPECT_EQ(ReadTranslatorName(), std::nullopt);
    project.findAnswer = NoError;
    project.readAnswer = GSErr::NotFound;
    EXPECT_EQ(ReadTranslatorName(), std::nullopt);
}

TEST_F(TranslatorStore, WhenFindFailsTheWriteLeavesTheProjectUntouched) {
    project.Add(TranslatorObjectName, SerializedText(GS::UniString("kept")));
    const std::vector<FakeProjectObjects::Object> before = project.objects;
    project.findAnswer = GSErr::Generic;
    EXPECT_FALSE(WriteTranslatorName(GS::UniString("other"))) << "nothing stored";
    EXPECT_EQ(CallsTo(FakeSlot::ObjectCreate) + CallsTo(FakeSlot::ObjectModify), 0u);
    ASSERT_EQ(project.objects.size(), 1u);
    EXPECT_EQ(project.objects[0].content, before[0].content);
}

TEST_F(TranslatorStore, AHostThatReportsAMissingObjectByACodeNeverGetsItCreated) {
    project.findAnswer = GSErr::NotFound;
    EXPECT_FALSE(WriteTranslatorName(GS::UniString("name"))) << "nothing stored";
    EXPECT_TRUE(project.objects.empty());
}

TEST_F(TranslatorStore, EmptyObjectSlotsReadAbsentAndWriteNothing) {
    EmptySlotAndRebind(FakeSlot::ObjectFind);
    EXPECT_FALSE(WriteTranslatorName(GS::UniString("name"))) << "nothing stored";
    EXPECT_EQ(ReadTranslatorName(), std::nullopt);
    EXPECT_TRUE(project.objects.empty());
    EXPECT_TRUE(host.Calls().empty());
}

TEST_F(TranslatorStore, AWriteThatTheHostRefusesReportsThatNothingWasStored) {
    const struct {
        const char* refused;
        std::size_t slot;
        bool existing;
    } cases[] = {{"create", FakeSlot::ObjectCreate, false}, {"modify", FakeSlot::ObjectModify, true}};
    for (const auto& refusal : cases) {
        project.objects.clear();
        if (refusal.existing) {
            project.Add(TranslatorObjectName, SerializedText(GS::UniString("kept")));
        }
        host.RespondWith(refusal.slot, [](const HostCall&) { return GSErr::Generic; });
        EXPECT_FALSE(WriteTranslatorName(GS::UniString("other"))) << refusal.refused;
        EXPECT_EQ(CallsTo(refusal.slot), 1u) << refusal.refused;
        EXPECT_EQ(ReadTranslatorName(),
                  refusal.existing ? std::optional(GS::UniString("kept")) : std::nullopt)
            << refusal.refused;
    }
}

TEST_F(TranslatorStore, ReadsAndWritesLeaveNoHandleOrBlockBehind) {
    const GS::MemoryOwner owner = GS::MemoryManager::RegisterOwner("translator store test");
    {
        GS::MemoryOwnerScope scope(owner);
        EXPECT_TRUE(WriteTranslatorName(GS::UniString(u"\u00C9tage")));
        EXPECT_TRUE(WriteTranslatorName(GS::UniString(u"\u00C9tage 2")));
        EXPECT_TRUE(ReadTranslatorName().has_value());
        project.readAnswer = GSErr::Generic;
        EXPECT_FALSE(ReadTranslatorName().has_value());
    }
    EXPECT_EQ(GS::MemoryManager::GetLiveBlockCount(owner), 0u);
}

} // namespace
