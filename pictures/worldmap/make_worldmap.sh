#!/bin/sh
# Makes mappemonde.gif, the world picture built into the program: 720 x 360
# pixels, equal-angle, longitudes -180 (first column) to 180 (last column),
# latitudes 90 (first row) to -90 (last row). The corners of the picture are
# the centres of its corner pixels, as for every picture of the program, so
# the raster's extent reaches half a pixel beyond them.
#
# The coastlines and borders are Natural Earth's 1:110m countries (public
# domain), as Debian ships them in the package python3-geopandas. Needs
# gdal-bin, python3 and imagemagick. Run it by hand when the picture is to
# change, and commit the result; the build only embeds the GIF.
#
#   apt-get download python3-geopandas && dpkg-deb -x python3-geopandas_*.deb pkg
#   pictures/worldmap/make_worldmap.sh pkg/usr/lib/python3/dist-packages/geopandas/datasets/naturalearth_lowres/naturalearth_lowres.shp
set -eu

shp=${1:-/usr/lib/python3/dist-packages/geopandas/datasets/naturalearth_lowres/naturalearth_lowres.shp}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

layer=$(basename "$shp" .shp)
extent=$(python3 -c "print(-180-180/719, -90-90/359, 180+180/719, 90+90/359)")

# One byte a pixel: the country's number (its feature index + 1), 0 at sea.
gdal_rasterize -q -a id -sql "SELECT FID+1 AS id FROM $layer" -init 0 \
  -te $extent -ts 720 360 -ot Byte -of ENVI "$shp" "$work/countries.raw"

python3 "$here/classify.py" "$work/countries.raw" "$work/mappemonde.ppm"
convert "$work/mappemonde.ppm" +dither -colors 8 "$here/mappemonde.gif"
