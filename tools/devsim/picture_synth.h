#pragma once

#include "people_sim.h"

#include <QByteArray>

#include <opencv2/core.hpp>

#include <vector>

// Draws what a pass's stereo head sees from above: the vehicle floor, the
// door with its steps at the bottom edge, two handrail posts, and the people
// as heads over shoulders. The right camera (picture id 2) sees everything
// shifted left, the nearer heads more than the floor.
class PictureSynth
{
public:
    PictureSynth(int width, int height, bool gray);

    // The picture of camera 1 (left) or 2 (right); valid until the next call.
    const cv::Mat& Render(int camera_id, const std::vector<SimPerson>& people);

    static QByteArray EncodeJpeg(const cv::Mat& picture, int quality = 80);
    // The pixel rows one after the other, line step = width × channels.
    static QByteArray Raw(const cv::Mat& picture);

    int FloorDisparity() const { return floorDisparity; }
    int HeadDisparity() const { return headDisparity; }

private:
    void BuildBackground(cv::Mat& target, int shift) const;
    void DrawEllipse(cv::Mat& target, double cx, double cy, double rx, double ry,
                     const uint8_t colour[3], double shade) const;

    int width;
    int height;
    bool gray;
    int floorDisparity;
    int headDisparity;
    cv::Mat background[2];
    cv::Mat frame;
};
