// The progress of a run: frames, speed, quality, size, time and bit rate, as the classic status
// line and as the OnProgress event; the summary at the end.
#include <cmath>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/clock.h"

namespace media {

namespace {

double Psnr(double error) {
    return -10.0 * std::log(error) / std::log(10.0);
}

}  // namespace

void TCustomFFmpeg::ReportProgress(bool isLast, int fileIndex) {
    AVFormatContext* oc = Foutput_files[0];
    int64_t totalSize = 0;
    if (oc->pb != nullptr) {
        totalSize = lib::avio_size(oc->pb);
        if (totalSize < 0) totalSize = lib::avio_seek(oc->pb, 0, SEEK_CUR);
    }

    std::string text;
    double ti1 = 1e10;
    int frameNumber = -1;
    int fps = -1;
    float q = -1;
    bool described = false;
    for (const auto& ost : FRun.OutputStreams) {
        const AVCodecContext* enc = ost->enc_ctx;
        bool video = enc->codec_type == AVMEDIA_TYPE_VIDEO;
        float quality = ost->stream_copy ? -1.0f : float(ost->last_quality) / FF_QP2LAMBDA;
        if (described && video) text += rtl::Format("q=%2.1f ", quality);
        if (!described && video && ost->show_fps == 1) {
            float elapsed = float(sys::Clock().NowMicros() - Ftimer_start) / 1000000;
            frameNumber = ost->frame_number;
            // Nothing is said before the first picture.
            if (frameNumber < 1) return;
            fps = elapsed > 1 ? int(std::trunc(frameNumber / elapsed + 0.5)) : 0;
            q = quality;
            text += rtl::Format("frame=%5d fps=%3d q=%3.1f ", frameNumber, fps, q);
            if (isLast) text += "L";
            if (Fqp_hist) {
                int64_t qp = rtl::Round(double(ost->last_quality) / FF_QP2LAMBDA);
                if (qp >= 0 && qp < int64_t(Fqp_histogram.size())) ++Fqp_histogram[size_t(qp)];
                for (int j = 0; j < 32; ++j)
                    text += rtl::Format("%X", rtl::Round(std::log2(Fqp_histogram[size_t(j)] + 1)));
            }
            if ((enc->flags & AV_CODEC_FLAG_PSNR) != 0) {
                double errorSum = 0;
                double scaleSum = 0;
                const char planes[] = {'Y', 'U', 'V'};
                text += "PSNR=";
                for (int j = 0; j < 3; ++j) {
                    double error =
                        isLast ? double(enc->error[j]) : double(ost->last_error[size_t(j)]);
                    double scale = double(enc->width) * enc->height * 255.0 * 255.0;
                    if (isLast) scale *= frameNumber;
                    if (j > 0) scale /= 4;
                    errorSum += error;
                    scaleSum += scale;
                    text += rtl::Format("%c:%2.2f ", planes[j], Psnr(error / scale));
                }
                text += rtl::Format("*:%2.2f ", Psnr(errorSum / scaleSum));
            }
            described = true;
        }
        double time = OutputStreamTime(*ost);
        if (time < ti1 && time > 0) ti1 = time;
    }
    if (ti1 < 0.01) ti1 = 0.01;

    if (OnProgress || Fverbose > 0 || isLast) {
        double bitRate = double(totalSize) * 8 / ti1 / 1000;
        text += rtl::Format("size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s",
                            double(totalSize) / 1024, ti1, bitRate);
        if (Fnb_frames_dup != 0 || Fnb_frames_drop != 0) {
            text += rtl::Format(" dup=%d drop=%d", Fnb_frames_dup, Fnb_frames_drop);
            if (FShowDupOrDrop && Fverbose >= 0 && OnProgress) {
                FShowDupOrDrop = false;
                GetFFLogger().Log(this, llVerbose, text);
            }
        }
        if (OnProgress)
            OnProgress(this, fileIndex, frameNumber, fps, q, float(bitRate), totalSize,
                       int64_t(std::trunc(ti1 * 1000000)), FTotalOutputDuration);
        else if (Fverbose >= 0)
            GetFFLogger().Log(this, llVerbose, text);
    }

    if (isLast && Fverbose >= 0) {
        double raw = double(Fvideo_size + Faudio_size + Fextra_size);
        GetFFLogger().Log(
            this, llVerbose,
            rtl::Format(
                "video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %f%%\r\n",
                double(Fvideo_size) / 1024, double(Faudio_size) / 1024, double(Fextra_size) / 1024,
                100.0 * (double(totalSize) - raw) / raw));
    }
}

}  // namespace media
