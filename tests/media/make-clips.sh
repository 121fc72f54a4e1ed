#!/usr/bin/env bash
# Writes the clips the media tests play, into the directory given:
#   frames.avi  2 s of 160 x 120 video at 25 frames per second with sound; every frame is
#               one flat grey whose level tells its number (luma 16 + 4 N), and a key
#               frame only every 10 frames, so exact seeks must decode from an earlier one
#   sound.wav   1.5 s of a 440 Hz tone, no video
#   notmedia.avi  a text file with a media file's name
#   turned-N.mp4  a 97 x 55 clip of 10 frames, black with a white top-left corner, whose
#               rotation says to show it turned by N degrees (90, 180, 270, 45), as phones
#               and cameras write them
set -euo pipefail
out=$1
mkdir -p "$out"
ffmpeg -hide_banner -loglevel error -y \
  -f lavfi -i "color=c=black:s=160x120:r=25:d=2" -f lavfi -i "sine=frequency=440:duration=2" \
  -vf "geq=lum='16+4*N':cb=128:cr=128" -pix_fmt yuv420p -c:v mpeg4 -q:v 2 -g 10 \
  -c:a pcm_s16le -shortest "$out/frames.avi"
ffmpeg -hide_banner -loglevel error -y -f lavfi -i "sine=frequency=440:duration=1.5" "$out/sound.wav"
printf 'This is not a video.\n' > "$out/notmedia.avi"
ffmpeg -hide_banner -loglevel error -y \
  -f lavfi -i "color=c=black:s=97x55:r=25:d=0.4,format=yuv444p,drawbox=x=0:y=0:w=32:h=27:color=white:t=fill" \
  -c:v libx264 -pix_fmt yuv444p -g 5 "$out/upright.mp4"
for degrees in 90 180 270 45; do
  ffmpeg -hide_banner -loglevel error -y -i "$out/upright.mp4" -c copy \
    -metadata:s:v:0 rotate=$degrees "$out/turned-$degrees.mp4"
done
