#include "widgets/terminal/terminalwidget.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

#include <vterm.h>

namespace {

QFont terminalFont()
{
    QFont font(QStringLiteral("Terminal"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return font;
}

QString cellText(const VTermScreenCell &cell)
{
    if (cell.chars[0] == 0)
        return QStringLiteral(" ");
    QString text;
    for (int i = 0; i < VTERM_MAX_CHARS_PER_CELL && cell.chars[i] != 0; ++i) {
        const char32_t c = cell.chars[i];
        text += QString::fromUcs4(&c, 1);
    }
    return text;
}

QString trimmedRight(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    text.truncate(end);
    return text;
}

struct KeyMapping {
    int qtKey;
    VTermKey key;
};

constexpr KeyMapping KeyMap[] = {
    {Qt::Key_Return, VTERM_KEY_ENTER},   {Qt::Key_Enter, VTERM_KEY_ENTER},
    {Qt::Key_Tab, VTERM_KEY_TAB},        {Qt::Key_Backspace, VTERM_KEY_BACKSPACE},
    {Qt::Key_Escape, VTERM_KEY_ESCAPE},  {Qt::Key_Up, VTERM_KEY_UP},
    {Qt::Key_Down, VTERM_KEY_DOWN},      {Qt::Key_Left, VTERM_KEY_LEFT},
    {Qt::Key_Right, VTERM_KEY_RIGHT},    {Qt::Key_Insert, VTERM_KEY_INS},
    {Qt::Key_Delete, VTERM_KEY_DEL},     {Qt::Key_Home, VTERM_KEY_HOME},
    {Qt::Key_End, VTERM_KEY_END},        {Qt::Key_PageUp, VTERM_KEY_PAGEUP},
    {Qt::Key_PageDown, VTERM_KEY_PAGEDOWN},
};

} // namespace

struct TerminalWidget::Callbacks {
    static int damage(VTermRect, void *user)
    {
        static_cast<TerminalWidget *>(user)->update();
        return 1;
    }
    static int moveCursor(VTermPos, VTermPos, int, void *user)
    {
        static_cast<TerminalWidget *>(user)->update();
        return 1;
    }
    static int bell(void *user)
    {
        Q_EMIT static_cast<TerminalWidget *>(user)->bell();
        return 1;
    }
    static int pushLine(int cols, const VTermScreenCell *cells, void *user)
    {
        auto *self = static_cast<TerminalWidget *>(user);
        QString line;
        for (int col = 0; col < cols; ++col)
            line += cellText(cells[col]);
        self->m_scrollback.append(trimmedRight(line));
        while (self->m_scrollback.size() > self->m_scrollbackLimit)
            self->m_scrollback.removeFirst();
        return 1;
    }
    static void output(const char *bytes, size_t length, void *user)
    {
        Q_EMIT static_cast<TerminalWidget *>(user)->keyInput(QByteArray(bytes, qsizetype(length)));
    }
    static constexpr VTermScreenCallbacks screen{
        damage, nullptr, moveCursor, nullptr, bell, nullptr, pushLine, nullptr,
    };
};

TerminalWidget::TerminalWidget(QWidget *parent)
    : QWidget(parent)
    , m_foreground(Qt::lightGray)
    , m_background(Qt::black)
{
    setFont(terminalFont());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    createScreen();
}

TerminalWidget::~TerminalWidget()
{
    vterm_free(m_vterm);
}

void TerminalWidget::createScreen()
{
    if (m_vterm)
        vterm_free(m_vterm);
    m_vterm = vterm_new(m_rows, m_columns);
    vterm_set_utf8(m_vterm, 0);
    vterm_output_set_callback(m_vterm, &Callbacks::output, this);
    m_screen = vterm_obtain_screen(m_vterm);
    vterm_screen_set_callbacks(m_screen, &Callbacks::screen, this);
    vterm_screen_set_damage_merge(m_screen, VTERM_DAMAGE_SCROLL);
    vterm_screen_reset(m_screen, 1);
    update();
}

void TerminalWidget::feed(const QByteArray &bytes)
{
    m_scrollOffset = 0;
    vterm_input_write(m_vterm, bytes.constData(), size_t(bytes.size()));
    vterm_screen_flush_damage(m_screen);
}

void TerminalWidget::clearScreen()
{
    // A fresh screen also forgets an escape sequence the box left unfinished,
    // which a reset of the screen would not.
    createScreen();
    m_scrollOffset = 0;
}

void TerminalWidget::setScreenSize(int rows, int columns)
{
    m_rows = qMax(1, rows);
    m_columns = qMax(1, columns);
    vterm_set_size(m_vterm, m_rows, m_columns);
    vterm_screen_flush_damage(m_screen);
    updateGeometry();
    update();
}

void TerminalWidget::setScrollbackLimit(int lines)
{
    m_scrollbackLimit = qMax(0, lines);
    while (m_scrollback.size() > m_scrollbackLimit)
        m_scrollback.removeFirst();
    m_scrollOffset = qMin(m_scrollOffset, int(m_scrollback.size()));
}

void TerminalWidget::setColors(const QColor &foreground, const QColor &background)
{
    m_foreground = foreground;
    m_background = background;
    update();
}

QString TerminalWidget::cellsText(int row) const
{
    QString line;
    for (int col = 0; col < m_columns; ++col) {
        VTermScreenCell cell;
        if (!vterm_screen_get_cell(m_screen, VTermPos{row, col}, &cell))
            break;
        line += cellText(cell);
        if (cell.width > 1)
            col += cell.width - 1;
    }
    return line;
}

QString TerminalWidget::rowText(int row) const
{
    if (row < 0 || row >= m_rows)
        return {};
    return trimmedRight(cellsText(row));
}

QStringList TerminalWidget::screenLines() const
{
    QStringList lines;
    for (int row = 0; row < m_rows; ++row)
        lines.append(rowText(row));
    return lines;
}

QStringList TerminalWidget::scrollbackLines() const
{
    return m_scrollback;
}

QString TerminalWidget::screenText() const
{
    QStringList lines = screenLines();
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

int TerminalWidget::cursorRow() const
{
    VTermPos pos;
    vterm_state_get_cursorpos(vterm_obtain_state(m_vterm), &pos);
    return pos.row;
}

int TerminalWidget::cursorColumn() const
{
    VTermPos pos;
    vterm_state_get_cursorpos(vterm_obtain_state(m_vterm), &pos);
    return pos.col;
}

QSize TerminalWidget::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {m_columns * metrics.horizontalAdvance(u'M') + 4, m_rows * metrics.height() + 4};
}

void TerminalWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    const QFontMetrics metrics(font());
    const int cellWidth = metrics.horizontalAdvance(u'M');
    const int cellHeight = metrics.height();
    const int ascent = metrics.ascent();
    const int shown = qMin(m_scrollOffset, int(m_scrollback.size()));

    // Lines of the scroll-back the user has scrolled into view come first.
    painter.setPen(m_foreground);
    for (int i = 0; i < shown; ++i) {
        const QString &line = m_scrollback.at(m_scrollback.size() - shown + i);
        painter.drawText(2, 2 + i * cellHeight + ascent, line);
    }

    for (int row = 0; row + shown < m_rows; ++row) {
        const int y = 2 + (row + shown) * cellHeight;
        for (int col = 0; col < m_columns; ++col) {
            VTermScreenCell cell;
            if (!vterm_screen_get_cell(m_screen, VTermPos{row, col}, &cell))
                break;
            QColor fg = m_foreground;
            QColor bg = m_background;
            if (!VTERM_COLOR_IS_DEFAULT_FG(&cell.fg)) {
                vterm_screen_convert_color_to_rgb(m_screen, &cell.fg);
                fg = QColor(cell.fg.rgb.red, cell.fg.rgb.green, cell.fg.rgb.blue);
            }
            if (!VTERM_COLOR_IS_DEFAULT_BG(&cell.bg)) {
                vterm_screen_convert_color_to_rgb(m_screen, &cell.bg);
                bg = QColor(cell.bg.rgb.red, cell.bg.rgb.green, cell.bg.rgb.blue);
            }
            if (cell.attrs.reverse)
                std::swap(fg, bg);
            const int x = 2 + col * cellWidth;
            const int width = cellWidth * qMax(1, int(cell.width));
            if (bg != m_background)
                painter.fillRect(x, y, width, cellHeight, bg);
            if (cell.chars[0] != 0 && cell.chars[0] != u' ') {
                QFont cellFont = font();
                cellFont.setBold(cell.attrs.bold);
                cellFont.setUnderline(cell.attrs.underline != VTERM_UNDERLINE_OFF);
                painter.setFont(cellFont);
                painter.setPen(fg);
                painter.drawText(x, y + ascent, cellText(cell));
            }
            if (cell.width > 1)
                col += cell.width - 1;
        }
    }

    if (shown == 0 && hasFocus()) {
        const int x = 2 + cursorColumn() * cellWidth;
        const int y = 2 + cursorRow() * cellHeight;
        painter.fillRect(x, y + cellHeight - 2, cellWidth, 2, m_foreground);
    }
}

void TerminalWidget::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    if (!m_keyboardInput)
        return;
    int modifiers = VTERM_MOD_NONE;
    if (event->modifiers() & Qt::ShiftModifier)
        modifiers |= VTERM_MOD_SHIFT;
    if (event->modifiers() & Qt::AltModifier)
        modifiers |= VTERM_MOD_ALT;
    if (event->modifiers() & Qt::ControlModifier)
        modifiers |= VTERM_MOD_CTRL;
    for (const KeyMapping &mapping : KeyMap) {
        if (mapping.qtKey == event->key()) {
            vterm_keyboard_key(m_vterm, mapping.key, VTermModifier(modifiers));
            return;
        }
    }
    const QString text = event->text();
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            Q_EMIT keyInput(QByteArray(1, char(c.unicode())));
        else
            vterm_keyboard_unichar(m_vterm, c.unicode(), VTermModifier(modifiers & ~VTERM_MOD_SHIFT));
    }
}

void TerminalWidget::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 40;
    m_scrollOffset = qBound(0, m_scrollOffset + steps, int(m_scrollback.size()));
    update();
    event->accept();
}
