#!/usr/bin/env bash
# Writes, into the directory given, small clips of every kind a user may open and of
# the odd kinds that break players: the container and codec pairs Debian's ffmpeg
# writes, tiny and extreme sizes, single frames, cover pictures, variable frame rates,
# interlacing, 10-bit and alpha pictures, two video tracks, cut streams and declared
# sizes no decoder can hold. Each is a fraction of a second long.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
video="testsrc2=s=64x48:r=25:d=0.4"
sound="sine=frequency=440:duration=0.4"
make() {
  local name=$1
  shift
  ffmpeg -hide_banner -loglevel error -y "$@" "$name" || { echo "could not make $name" >&2; exit 1; }
}
with_sound() { make "$1" -f lavfi -i "$video" -f lavfi -i "$sound" "${@:2}" -shortest; }

# Containers with the codecs they usually carry.
with_sound mp4-h264-aac.mp4 -c:v libx264 -pix_fmt yuv420p -c:a aac
with_sound mov-mjpeg-pcm.mov -c:v mjpeg -pix_fmt yuvj420p -c:a pcm_s16le
with_sound avi-mpeg4-mp3.avi -c:v mpeg4 -c:a libmp3lame
with_sound mkv-vp8-vorbis.mkv -c:v libvpx -deadline realtime -c:a libvorbis
with_sound webm-vp9-opus.webm -c:v libvpx-vp9 -deadline realtime -cpu-used 8 -c:a libopus
with_sound ogv-theora-vorbis.ogv -c:v libtheora -c:a libvorbis
with_sound wmv-wmv2-wma.wmv -c:v wmv2 -c:a wmav2
with_sound mpg-mpeg1-mp2.mpg -c:v mpeg1video -c:a mp2
with_sound ts-mpeg2-ac3.ts -c:v mpeg2video -c:a ac3
with_sound flv-flv1-mp3.flv -c:v flv1 -c:a libmp3lame -ar 44100
make nut-ffv1.nut -f lavfi -i "$video" -c:v ffv1
make gif.gif -f lavfi -i "$video"
for audio in m4a:aac flac:flac opus:libopus oga:libvorbis mp3:libmp3lame; do
  make "sound.${audio%%:*}" -f lavfi -i "$sound" -c:a "${audio#*:}"
done

# Sizes, frames and pictures that stretch a decoder or a renderer.
make size-1x1.mkv -f lavfi -i "color=c=red:s=2x2:r=25:d=0.4,scale=1:1,format=bgr0" -c:v ffv1
make size-2x2.mp4 -f lavfi -i "color=c=red:s=2x2:r=25:d=0.4,format=yuv444p" -c:v libx264
make size-4095x16.mkv -f lavfi -i "testsrc2=s=4095x16:r=25:d=0.2" -c:v ffv1
make one-frame.mp4 -f lavfi -i "$video" -frames:v 1 -c:v libx264 -pix_fmt yuv420p
make variable-rate.mkv -f lavfi -i "$video" -vf "setpts=PTS+0.02*mod(N\,2)/TB" -fps_mode vfr -c:v libx264
make interlaced.mpg -f lavfi -i "$video" -c:v mpeg2video -flags +ilme+ildct -top 1
make ten-bit.mkv -f lavfi -i "$video" -c:v libx264 -pix_fmt yuv420p10le
make alpha.mov -f lavfi -i "$video,format=argb" -c:v qtrle
make two-videos.mkv -f lavfi -i "$video" -f lavfi -i "testsrc2=s=32x96:r=10:d=0.4" \
  -map 0 -map 1 -c:v ffv1
make cover-only.mp3 -f lavfi -i "$sound" -f lavfi -i "color=c=blue:s=32x32:d=0.04" \
  -map 0 -map 1 -frames:v 1 -c:a libmp3lame -c:v png -disposition:v attached_pic
make video-without-frames.mkv -f lavfi -i "$sound" -f lavfi -i "$video" -map 0 -map 1 \
  -c:a flac -c:v ffv1 -frames:v 0

# A stream whose frames change shape halfway, one that ends inside a frame, one with bytes
# flipped in its middle, and a size no decoder can hold.
make whole.ts -f lavfi -i "$video" -c:v libx264 -pix_fmt yuv420p
make tall.ts -f lavfi -i "testsrc2=s=32x96:r=25:d=0.4" -c:v libx264 -pix_fmt yuv420p
cat whole.ts tall.ts > size-change.ts
head -c $(($(stat -c %s whole.ts) / 2 + 333)) whole.ts > cut-mid-frame.ts
cp whole.ts flipped.ts
printf '\xde\xad\xbe\xef%.0s' $(seq 512) |
  dd of=flipped.ts bs=1 seek=$(($(stat -c %s whole.ts) / 2)) conv=notrunc status=none
rm whole.ts tall.ts
{ printf 'YUV4MPEG2 W60000 H60000 F25:1 Ip A1:1 C420jpeg\nFRAME\n'; head -c 4096 /dev/zero; } > huge-declared.y4m
