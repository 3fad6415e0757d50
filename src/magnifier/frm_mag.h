#pragma once
// The magnifier window: an enlarged still snapshot of the screen that follows
// the window while it is dragged, with a strip of six buttons (zoom 1.5/2.0,
// small/big, refresh, close).

#include <QCursor>
#include <QImage>
#include <QRect>
#include <QWidget>

class Desktop;
class HalfPicture;
class PictureStore;
class QLabel;
class QTimer;
class StripButton;
struct SharedState;

class FrmMag : public QWidget {
    Q_OBJECT
public:
    // `state`: the panel's settings it follows (on top, the layout's scale).
    FrmMag(const SharedState& state, Desktop& desktop, PictureStore& pictures, QWidget* parent = nullptr);
    ~FrmMag() override;

    // Fresh state, snapshot, layout, centred on the pointer, shown.
    void open();

    // Click on strip button `index` (0 to 5; anything else does nothing).
    void img_ico_Click(int index);
    // One tick of the drag timer; does work only while dragging.
    void tim_move_Timer();

    float zoom() const { return zoom_; }
    bool small_view() const { return small_view_; }
    int hover_icon() const { return hover_icon_; }
    // False after a refused screen grab: the view shows why instead.
    bool capture_available() const { return !snapshot_.isNull(); }
    const QImage& snapshot() const { return snapshot_; }
    int redraw_count() const { return redraw_count_; }
    // The view's share of the screen, from the last layout.
    float view_ratio() const { return view_ratio_; }
    bool dragging() const { return dragging_; }
    // The window's corner from the pointer while dragging, in twips.
    QPoint drag_offset() const { return drag_offset_; }
    bool move_timer_active() const;

    StripButton* img_ico(int index) const;
    QWidget* pic_mag() const;
    HalfPicture* pic_mag1() const { return pic_mag1_; }
    HalfPicture* pic_mag2() const { return pic_mag2_; }
    QWidget* lab_frame() const { return lab_frame_; }
    // The red outline's rectangle; the window paints it.
    QRect sha_frame() const { return sha_frame_; }
    QLabel* capture_message() const { return capture_message_; }

signals:
    // The window was closed, by its close button or otherwise.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Escape closes, the arrows move the view; the keyboard comes with the
    // window when it shows (frm_mag_keys.cpp).
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void nudge_view(int dx, int dy);
    void capture_snapshot();
    void draw_magnified();
    void layout_magnifier();
    void place_halves();
    QPoint window_place() const;
    void refresh();
    void pic_mag1_MouseDown();
    void pic_mag1_MouseUp();
    void img_ico_MouseMove(int index);
    void lab_frame_MouseMove();
    void show_opening_pictures();

    const SharedState& state_;
    Desktop& desktop_;
    PictureStore& pictures_;

    // Screen as it was at the last capture.
    int twips_x_ = 15;
    int twips_y_ = 15;
    int screen_width_ = 0;    // twips
    int screen_height_ = 0;   // twips

    float zoom_ = 1.5f;
    bool small_view_ = true;
    int hover_icon_ = 99;
    double strip_height_ = 285;   // twips

    float view_ratio_ = 0.2f;
    bool dragging_ = false;
    QPoint drag_offset_;         // twips

    QImage snapshot_;
    QPoint opened_at_;           // pixels; where a native Wayland window is taken to be
    QCursor drag_cursor_;
    int redraw_count_ = 0;
    bool busy_ = false;          // inside a sequence that processes events
    bool closing_ = false;
    bool closed_sent_ = false;
    bool awaiting_answer_ = false;  // the desktop asks the user whether we may capture

    QWidget* pic_mag_ = nullptr;
    HalfPicture* pic_mag1_ = nullptr;
    HalfPicture* pic_mag2_ = nullptr;
    QLabel* capture_message_ = nullptr;
    QWidget* lab_frame_ = nullptr;
    QRect sha_frame_;
    StripButton* img_ico_[6] = {};
    QTimer* tim_move_ = nullptr;
};
