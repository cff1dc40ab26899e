#pragma once

#include "FormControls.h"
#include "install/InstallFields.h"
#include "tone/FontHolder.h"
#include "tone/KeyTracker.h"

#include <QMainWindow>

#include <array>
#include <cstdint>

class ChineseToPinyinActions;
class DocumentFile;
class FindWindow;
class QMenu;
class TextBox;
class QAction;
class QTimer;

// The program's one window: the editor, the presentation controls on the right, the hidden
// glyph holders and help box, the timers, and the print and options menus.
class Form1 : public QMainWindow {
    Q_OBJECT

  public:
    // Recovery files are kept in `recoveryFolder`.
    explicit Form1(QWidget* parent = nullptr,
                   const QString& recoveryFolder = defaultRecoveryFolder());

    static QString defaultRecoveryFolder();

    // The work done once before the window is first shown; `programFolder` holds font.log,
    // pyserif.ttf and zhongwen.gif.
    void Form_Load(const QString& programFolder);

    std::int16_t pendingVowel() const { return tracker_.pendingVowel(); }
    std::int16_t lastKey() const { return tracker_.lastKey(); }
    const tone::FontHolder& c1() const { return c1_; }
    DocumentFile& document() const { return *document_; }
    bool toneAfterSyllable() const { return toneAfterSyllable_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createFrame();
    void createControls();
    void createTimers();
    void createMenu();
    void createOptionsMenu();
    void createFind(QMenu& options);
    FindWindow& findWindow();
    void connectHandlers();
    void connectPresentationControls();

    void installToneFont(const QString& programFolder);
    void loadPicture(const QString& programFolder);
    void tileBackground();

    void Text2_KeyPress(std::int16_t keyCode);
    void Text2_Typed(const QString& text);
    void setToneAfterSyllable(bool on);
    void Timer_Timer(int row); // Timer1_Timer to Timer11_Timer: one procedure, one row each
    void Timer12_Timer();

    QTimer* timer(int number) const; // Timer1 to Timer12

    tone::KeyTracker tracker_;
    tone::FontHolder c1_;
    install::InstallFields installFields_;
    FormControls controls_;
    DocumentFile* document_ = nullptr;
    std::array<QTimer*, 12> timers_{};     // Timer1 at index 0
    std::array<QWidget*, 12> fontBoxes_{}; // Text2 and the glyph holders, which Timer12 refonts
    QAction* convertToneNumbers_ = nullptr;
    QAction* convertToToneNumbers_ = nullptr;
    ChineseToPinyinActions* chinese_ = nullptr;
    FindWindow* find_ = nullptr;
    QString programFolder_; // where Form_Load found the font and the picture
    bool toneAfterSyllable_ = false;
};
