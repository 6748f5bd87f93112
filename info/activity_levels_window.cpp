// The activity-level standards window (TForm2).

#include "activity_levels_window.h"

#include "data/values.h"
#include "ui/artwork.h"
#include "ui/window_builder.h"

#include <QPainter>
#include <QTextOption>

namespace nc::info {

namespace {

namespace art = ui::art;

const QSize kClient(619, 330);

struct Level {
    QString level;
    QString time;
    QString examples;
    QString index;
};

// 中国成人活动水平分级.
QList<Level> levels() {
    return {
        {data::kActivityLight, QStringLiteral("75%时间坐或站立；\n25%时间站着活动"),
         QStringLiteral("办公室工作、修理电器钟表、售货员、酒店服务员、化学试验操作、讲课等"),
         QStringLiteral("1.56")},
        {data::kActivityModerate, QStringLiteral("25%时间坐或站立；\n75%时间特殊职业活动"),
         QStringLiteral("学生日常活动，机动车驾驶、电工安装、车床操作、金工切割等"), QStringLiteral("1.64")},
        {data::kActivityHeavy, QStringLiteral("40%时间坐或站立；\n60%时间特殊职业活动"),
         QStringLiteral("非机械化工业劳动、炼钢、舞蹈、体育、运动、装卸、采矿等"), QStringLiteral("1.82")},
    };
}

void cellText(QPainter& p, const QRectF& r, const QString& text, Qt::Alignment align) {
    QTextOption o(align);
    o.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    p.drawText(r.adjusted(8, 4, -8, -4), text, o);
}

} // namespace

QPixmap activityLevelTable(QSize size) {
    art::Backdrop b;
    b.title = QStringLiteral("活动水平标准");
    b.bandHeight = 44;
    QPixmap pm = art::windowBackground(size, b);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.setPen(art::colour::roseDeep);
    p.setFont(art::font(17, QFont::Bold));
    p.drawText(QRectF(0, 52, size.width(), 28), Qt::AlignCenter, QStringLiteral("中国成人活动水平分级"));

    // Columns: level, share of working time, examples, index.
    const qreal left = 20, right = size.width() - 20;
    const qreal widths[] = {76, 160, 0, 100};
    const qreal examples = (right - left) - widths[0] - widths[1] - widths[3];
    const qreal xs[] = {left, left + widths[0], left + widths[0] + widths[1],
                        left + widths[0] + widths[1] + examples, right};
    const qreal headTop = 86, headHeight = 30, rowHeight = 54;
    const QStringList heads = {QStringLiteral("活动水平"), QStringLiteral("职业工作分配时间"),
                               QStringLiteral("工作内容举例"), QStringLiteral("活动水平指数")};
    const QList<Level> rows = levels();
    const qreal bottom = headTop + headHeight + rows.size() * rowHeight;

    p.fillRect(QRectF(left, headTop, right - left, headHeight), art::colour::blush);
    for (int r = 0; r < rows.size(); ++r)
        p.fillRect(QRectF(left, headTop + headHeight + r * rowHeight, right - left, rowHeight),
                   r % 2 ? QColor(0xFF, 0xF4, 0xF0) : QColor(Qt::white));

    p.setPen(art::colour::ink);
    p.setFont(art::font(13, QFont::Bold));
    for (int c = 0; c < 4; ++c)
        cellText(p, QRectF(xs[c], headTop, xs[c + 1] - xs[c], headHeight), heads[c], Qt::AlignCenter);
    for (int r = 0; r < rows.size(); ++r) {
        const qreal top = headTop + headHeight + r * rowHeight;
        p.setFont(art::font(16, QFont::Bold));
        p.setPen(art::colour::roseDeep);
        cellText(p, QRectF(xs[0], top, widths[0], rowHeight), rows[r].level, Qt::AlignCenter);
        p.setPen(art::colour::ink);
        p.setFont(art::font(13));
        cellText(p, QRectF(xs[1], top, widths[1], rowHeight), rows[r].time, Qt::AlignLeft | Qt::AlignVCenter);
        cellText(p, QRectF(xs[2], top, examples, rowHeight), rows[r].examples,
                 Qt::AlignLeft | Qt::AlignVCenter);
        p.setFont(art::font(15, QFont::Bold));
        cellText(p, QRectF(xs[3], top, widths[3], rowHeight), rows[r].index, Qt::AlignCenter);
    }

    // Rules: the outer frame, the column lines and a line under the head and each row.
    p.setPen(QPen(art::colour::rose, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(left, headTop, right - left, bottom - headTop));
    p.setPen(QPen(art::colour::line, 1));
    for (int c = 1; c < 4; ++c)
        p.drawLine(QPointF(xs[c], headTop), QPointF(xs[c], bottom));
    for (int r = 0; r < rows.size(); ++r) {
        const qreal y = headTop + headHeight + r * rowHeight;
        p.drawLine(QPointF(left, y), QPointF(right, y));
    }

    p.setPen(art::colour::inkSoft);
    p.setFont(art::font(12));
    p.drawText(QRectF(left, bottom + 8, 400, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("双击表格或点击“退出”关闭"));
    return pm;
}

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    ui::WindowBuilder build(this, {.name = "TForm2",
                                   .title = QStringLiteral("活动水平标准"),
                                   .client = kClient,
                                   .frame = ui::Frame::Borderless,
                                   .background = activityLevelTable(kClient)});
    build.onDoubleClick(build.background(), &TForm2::Image1DblClick);
    // clang-format off
    build.picture({"Image2", {499, 280, 100, 40}, ui::kNoLift, ui::kNoLift,
                   ui::face::button(QStringLiteral("退出"), art::Tone::Neutral, art::Glyph::Exit), &TForm2::Image2Click});
    // clang-format on
}

void TForm2::Image1DblClick() {
    accept();
}
void TForm2::Image2Click() {
    accept();
}

} // namespace nc::info
