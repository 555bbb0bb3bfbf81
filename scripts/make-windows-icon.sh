#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes data/icons/edt-editor.ico, the icon of the Windows programs, from the committed
# PNGs of data/icons/hicolor: 16, 32 and 48 pixels as bitmaps with a transparency
# (AND) mask, 32 in 24-bit colour as the window's design asks, 16 and 48 in 32-bit
# colour whose alpha smooths their edges; 256 as the PNG itself, as Windows takes it
# since Vista. ImageMagick decodes the PNGs and perl lays out the bytes, so the same
# PNGs always give the same file. render-icons.sh runs it after redrawing the PNGs.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
png() { echo "$root/data/icons/hicolor/$1x$1/apps/edt-editor.png"; }
out=${1:-$root/data/icons/edt-editor.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 32 48; do
    convert "$(png $size)" -depth 8 "rgba:$work/$size.rgba"
done

perl -e '
use strict;
my ($work, $png256) = @ARGV;
sub slurp { local $/; open(my $f, "<:raw", $_[0]) or die "$_[0]: $!"; return <$f>; }
# One bitmap image: header, colour rows and mask rows, both bottom-up, each row
# padded to 4 bytes. A mask bit of 1 lets the background through.
sub bitmap {
    my ($size, $bits) = @_;
    my $rgba = slurp("$work/$size.rgba");
    my ($colour, $mask) = ("", "");
    for (my $y = $size - 1; $y >= 0; --$y) {
        my ($row, $maskRow) = ("", "");
        for my $x (0 .. $size - 1) {
            my ($r, $g, $b, $a) = unpack("C4", substr($rgba, 4 * ($y * $size + $x), 4));
            my $clear = $a < 128;
            # 24 bits: a clear pixel is black, so that the mask alone decides.
            $row .= $bits == 32 ? pack("C4", $b, $g, $r, $a)
                  : $clear      ? pack("C3", 0, 0, 0) : pack("C3", $b, $g, $r);
            $maskRow .= $clear ? "1" : "0";
        }
        $colour .= $row . "\0" x ((4 - length($row) % 4) % 4);
        my $maskBytes = pack("B*", $maskRow);
        $mask .= $maskBytes . "\0" x ((4 - length($maskBytes) % 4) % 4);
    }
    my $header = pack("VllvvVVllVV", 40, $size, 2 * $size, 1, $bits, 0,
                      length($colour) + length($mask), 0, 0, 0, 0);
    return $header . $colour . $mask;
}
my @images = ([16, 32, bitmap(16, 32)], [32, 24, bitmap(32, 24)], [48, 32, bitmap(48, 32)],
              [256, 32, slurp($png256)]);
my $offset = 6 + 16 * @images;
my ($directory, $data) = (pack("vvv", 0, 1, scalar @images), "");
for my $image (@images) {
    my ($size, $bits, $bytes) = @$image;
    $directory .= pack("CCCCvvVV", $size % 256, $size % 256, 0, 0, 1, $bits,
                       length($bytes), $offset + length($data));
    $data .= $bytes;
}
binmode STDOUT;
print $directory, $data;
' "$work" "$(png 256)" >"$out"
echo "$out"
