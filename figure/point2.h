#pragma once

struct Point2 {
    double x = 0.0;
    double y = 0.0;
};
