// Writes the fuzz targets' seed corpus: the files the program itself writes while a pupil uses
// it (runs of one number and of all numbers, both operations, all three languages).
// Usage: fuzz_seeds FOLDER, which receives save_dat/, error_file/, startup/, roster/ and report/.
#include <cstdio>
#include <set>

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>

#include "app/Form.h"
#include "app/Texts.h"
#include "fuzz/FolderInput.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/RosterInput.h"
#include "fuzz/StartupInput.h"
#include "persistence/ProgressFiles.h"
#include "pupils/Roster.h"
#include "tests/trainer/RunTestSupport.h"

namespace {

class SeedWriter {
  public:
    explicit SeedWriter(const QString& out) : out_(out) {
        for (const char* folder : {"save_dat", "error_file", "startup", "roster", "report"}) {
            QDir().mkpath(out_ + "/" + folder);
        }
    }

    // A whole run; every third answer wrong when `mistakes` is set.
    void run(TForm3& form, bool mistakes) {
        handle(form, [&form] { form.Button12Click(); });
        for (int answer = 1; form.Button12.tag() == 1; ++answer) {
            const int n = mistakes && answer % 3 == 0 ? wrongAnswer(form) : form.ExpectedAnswer;
            handle(form, [&form, n] { press(form, n); });
        }
    }

    void handle(TForm3& form, const std::function<void()>& handler) {
        if (!form.dispatch(handler)) {
            fuzz::fail(QStringLiteral("the program failed while writing seeds"));
        }
    }

    // Keeps the files as they are now in the data folder.
    void take(const QString& folder) {
        const QByteArray saveDat = fuzz::readFile(persistence::progressFilePath(folder));
        keep("save_dat", saveDat);
        for (int operation : {persistence::kMultiplication, persistence::kDivision}) {
            const QByteArray errors = fuzz::readFile(persistence::errorFilePath(folder, operation));
            keep("error_file", errors);
            fuzz::StartupInput input;
            input.saveDat = saveDat;
            input.errorFile = errors;
            keep("startup", input.serialise());
        }
        keep("report", fuzz::FolderInput::of(folder).serialise());
    }

    // The roster and every pupil's files as they are now in the data folder.
    void takeRoster(const QString& folder) {
        keep("report", fuzz::FolderInput::of(folder).serialise());
        fuzz::RosterInput input;
        input.firstNameFile = fuzz::readFile(folder + "name.txt");
        input.choiceFile = fuzz::readFile(folder + "pupils/chosen.txt");
        input.numberFile = fuzz::readFile(folder + "pupils/last-number.txt");
        for (const QString& name :
             QDir(folder + "pupils").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            input.folders.push_back(
                {name, fuzz::readFile(folder + "pupils/" + name + "/name.txt")});
        }
        keep("roster", input.serialise());
    }

    // Rosters beside those the program wrote: a folder whose name file is missing, and one
    // made by hand with a number beyond the one kept.
    void takeRosters() {
        fuzz::RosterInput input;
        input.choiceFile = "pupil-3\n";
        input.numberFile = "4\n";
        input.folders = {{"pupil-2", "Boris\n"},
                         {"pupil-3", QStringLiteral("Клара\n").toUtf8()},
                         {"pupil-5", QByteArray()},
                         {"pupil-4", "Zoë 🦊\n"}};
        keep("roster", input.serialise());
        input.firstNameFile = "Mum\n";
        input.choiceFile = "\n";
        input.folders.pop_back();
        keep("roster", input.serialise());
    }

    int written() const { return static_cast<int>(seen_.size()); }

  private:
    void keep(const char* folder, const QByteArray& bytes) {
        const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
        if (bytes.isEmpty() || !seen_.insert(folder + hash).second) {
            return;
        }
        fuzz::writeFile(out_ + "/" + folder + "/" + QString::fromLatin1(hash), bytes);
    }

    QString out_;
    std::set<QByteArray> seen_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    fuzz::startApplication(&argc, &argv);
    SeedWriter seeds(QString::fromLocal8Bit(argv[1]));
    const QString folder = fuzz::freshDataFolder();
    ui::FixedClock clock(fuzz::kMoment);
    ui::SystemRandom random;
    ui::CollectingErrorReporter reporter;
    TForm3 form(folder, clock, random, reporter);
    seeds.handle(form, [&form] { form.FormCreate(); });

    form.TrackBar2.setValue(10);
    seeds.run(form, true);
    seeds.take(folder);
    // More than ten runs of one number, so that its oldest marks give way.
    for (int i = 0; i < 11; ++i) {
        clock.set(fuzz::kMoment + i);
        seeds.run(form, i % 2 == 0);
    }
    seeds.take(folder);
    seeds.handle(form, [&form] { form.Button1Click(); });
    seeds.run(form, true);
    seeds.handle(form, [&form] { form.ComboBox1.setItemIndex(kLanguageItemBritish); });
    seeds.take(folder);
    seeds.handle(form, [&form] { form.Button11Click(); });
    seeds.handle(form, [&form] { form.Button7Click(); });
    seeds.run(form, true);
    seeds.handle(form, [&form] { form.ComboBox1.setItemIndex(kLanguageItemAmerican); });
    seeds.take(folder);

    seeds.takeRosters();

    // Further pupils, added, renamed and chosen the way the window does it, each with runs of
    // both operations.
    pupils::Roster roster(folder, QStringLiteral("Anna"));
    for (const QString& name :
         {QStringLiteral("Boris"), QStringLiteral("Клара"), QString::fromUtf8("Zoë 🦊")}) {
        const auto added = roster.add(name);
        const auto* pupil = std::get_if<pupils::Pupil>(&added);
        if (pupil == nullptr) {
            fuzz::fail(QStringLiteral("cannot add a pupil while writing seeds"));
        }
        TForm3 pupilForm(roster.folderOf(*pupil), clock, random, reporter);
        seeds.handle(pupilForm, [&pupilForm] { pupilForm.FormCreate(); });
        seeds.run(pupilForm, true);
        seeds.handle(pupilForm, [&pupilForm] { pupilForm.Button11Click(); });
        seeds.run(pupilForm, true);
        if (auto failure = roster.setLastChosen(*pupil)) {
            fuzz::fail(QStringLiteral("cannot choose a pupil while writing seeds"));
        }
        seeds.takeRoster(folder);
    }
    if (roster.rename(roster.pupils().front(), QStringLiteral("Mum")) ||
        roster.rename(roster.pupils().back(), QStringLiteral("Вера"))) {
        fuzz::fail(QStringLiteral("cannot rename a pupil while writing seeds"));
    }
    seeds.takeRoster(folder);

    if (!reporter.messages.isEmpty()) {
        fuzz::fail(reporter.messages.join('\n'));
    }
    std::printf("%d seed files\n", seeds.written());
    return 0;
}
