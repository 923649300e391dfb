#include "picture_synth.h"

#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <cmath>

namespace {

uint8_t clampByte(double v)
{
    return static_cast<uint8_t>(std::min(255.0, std::max(0.0, v)));
}

// A cheap, repeatable texture value for a floor pixel.
double grain(int x, int y)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h >> 16) & 0xFF) / 255.0 - 0.5;
}

} // namespace

PictureSynth::PictureSynth(int width, int height, bool gray)
    : width(width), height(height), gray(gray), floorDisparity(std::max(2, width / 100)),
      headDisparity(std::max(5, width / 40))
{
    BuildBackground(background[0], 0);
    BuildBackground(background[1], floorDisparity);
}

void PictureSynth::BuildBackground(cv::Mat& target, int shift) const
{
    target.create(height, width, gray ? CV_8UC1 : CV_8UC3);
    const int channels = target.channels();
    for (int row = 0; row < height; ++row) {
        uint8_t* line = target.ptr<uint8_t>(row);
        const double v = row / double(height);
        for (int col = 0; col < width; ++col) {
            // The scene point this pixel shows: the right camera looks at a
            // point further right.
            const int sx = col + shift;
            const double u = sx / double(width);
            // Ribbed grey floor with a little grain.
            double b = 118, g = 120, r = 122;
            if ((sx / std::max(1, width / 80)) % 2 == 0) {
                b -= 6;
                g -= 6;
                r -= 6;
            }
            const double n = grain(sx, row) * 10;
            b += n;
            g += n;
            r += n;
            // The door: steps between the leaves at the bottom, with a yellow
            // safety edge, and the closed leaf parts at both sides.
            const bool in_opening = u >= 0.2 && u <= 0.8;
            if (v > 0.86 && in_opening) {
                b = 55 + n;
                g = 58 + n;
                r = 60 + n;
                if (v < 0.885) {
                    b = 20;
                    g = 190;
                    r = 230;
                }
            } else if (v > 0.8 && !in_opening) {
                b = 170 + n * 0.5;
                g = 168 + n * 0.5;
                r = 160 + n * 0.5;
                if (std::fabs(u - 0.2) < 0.012 || std::fabs(u - 0.8) < 0.012) {
                    b = g = r = 25; // rubber seals
                }
            }
            // Handrail posts beside the door, seen from above.
            for (double post_x : {0.16, 0.84}) {
                const double dx = (u - post_x) * width;
                const double dy = (v - 0.7) * height;
                const double d2 = dx * dx + dy * dy;
                const double radius = width / 60.0;
                if (d2 < radius * radius) {
                    const double light = 1.0 - 0.5 * d2 / (radius * radius);
                    b = 200 * light;
                    g = 200 * light;
                    r = 205 * light;
                }
            }
            // Darker corners, as a wide lens gives them.
            const double du = u - 0.5, dv = v - 0.5;
            const double vignette = 1.0 - 0.35 * (du * du + dv * dv);
            if (channels == 1) {
                line[col] = clampByte((0.114 * b + 0.587 * g + 0.299 * r) * vignette);
            } else {
                line[3 * col] = clampByte(b * vignette);
                line[3 * col + 1] = clampByte(g * vignette);
                line[3 * col + 2] = clampByte(r * vignette);
            }
        }
    }
}

void PictureSynth::DrawEllipse(cv::Mat& target, double cx, double cy, double rx, double ry,
                               const uint8_t colour[3], double shade) const
{
    const int x0 = std::max(0, static_cast<int>(std::floor(cx - rx)));
    const int x1 = std::min(width - 1, static_cast<int>(std::ceil(cx + rx)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cy - ry)));
    const int y1 = std::min(height - 1, static_cast<int>(std::ceil(cy + ry)));
    if (x0 > x1 || y0 > y1)
        return;
    const int channels = target.channels();
    for (int row = y0; row <= y1; ++row) {
        uint8_t* line = target.ptr<uint8_t>(row);
        const double dy = (row - cy) / ry;
        for (int col = x0; col <= x1; ++col) {
            const double dx = (col - cx) / rx;
            const double d2 = dx * dx + dy * dy;
            if (d2 > 1)
                continue;
            // A dome lit from the upper left.
            const double light =
                shade * (1.15 - 0.45 * d2 - 0.25 * (dx + dy) * 0.5) + 0.15 * (1 - d2);
            if (channels == 1) {
                const double y = 0.114 * colour[0] + 0.587 * colour[1] + 0.299 * colour[2];
                line[col] = clampByte(y * light + 10);
            } else {
                line[3 * col] = clampByte(colour[0] * light + 10);
                line[3 * col + 1] = clampByte(colour[1] * light + 10);
                line[3 * col + 2] = clampByte(colour[2] * light + 10);
            }
        }
    }
}

const cv::Mat& PictureSynth::Render(int camera_id, const std::vector<SimPerson>& people)
{
    const bool right = camera_id == 2;
    background[right ? 1 : 0].copyTo(frame);
    for (const SimPerson& p : people) {
        const double r = p.headRadius * width;
        // Heads and shoulders are nearer the camera than the floor, so they
        // move further between the two pictures.
        const double head_shift = right ? headDisparity : 0;
        const double body_shift = right ? (headDisparity + floorDisparity) / 2.0 : 0;
        const double cx = p.x * (width - 1);
        const double cy = p.y * (height - 1);
        // Shoulders across the walking direction, slightly behind the head.
        const double behind = p.vy < 0 ? 0.35 * r : -0.35 * r;
        DrawEllipse(frame, cx - body_shift, cy + behind, 2.3 * r, 1.25 * r, p.shirt, 0.8);
        DrawEllipse(frame, cx - head_shift, cy, r, r * 1.1, p.hair, 1.0);
    }
    return frame;
}

QByteArray PictureSynth::EncodeJpeg(const cv::Mat& picture, int quality)
{
    std::vector<uint8_t> buffer;
    cv::imencode(".jpg", picture, buffer, {cv::IMWRITE_JPEG_QUALITY, quality});
    return QByteArray(reinterpret_cast<const char*>(buffer.data()),
                      static_cast<int>(buffer.size()));
}

QByteArray PictureSynth::Raw(const cv::Mat& picture)
{
    const int line_bytes = picture.cols * picture.channels();
    QByteArray data(line_bytes * picture.rows, Qt::Uninitialized);
    for (int row = 0; row < picture.rows; ++row)
        std::copy_n(picture.ptr<char>(row), line_bytes, data.data() + row * line_bytes);
    return data;
}
