// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

/// A picture control: shows a BMP, JPG, GIF or PNG file scaled to fit, keeping its aspect.
/// The format is taken from the content, so files without an extension ("newpic",
/// "BACKGROUND") load. A missing or unreadable file shows nothing: pictures decorate, and
/// a broken one is no reason to stop the player.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    /// Loads `path`; an empty path clears the picture. Answers whether a picture is shown.
    bool load(const QString &path);
    bool hasPicture() const { return !original_.isNull(); }
    QString path() const { return path_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void rescale();
    QPixmap original_;
    QString path_;
};
