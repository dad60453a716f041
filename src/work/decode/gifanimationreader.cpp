#include "decode/gifanimationreader.h"

#include "decode/picturesize.h"

GifAnimationReader::GifAnimationReader(std::vector<unsigned char> data, Reading reading)
    : m_data(std::move(data)),
      m_sizesOnly(reading == Reading::SizesOnly),
      m_reader(m_data.data(), m_data.size(), kMaxPicturePixels),
      m_composer(m_reader.ScreenSize(), kMaxPicturePixels)
{
}

GifFrameReader::Result GifAnimationReader::EndForMemory()
{
    m_hasFrame = false;
    m_ended = true;
    m_outOfMemory = true;
    return GifFrameReader::Result::OutOfMemory;
}

GifFrameReader::Result GifAnimationReader::Next()
{
    m_hasFrame = false;
    if (m_ended)
        return GifFrameReader::Result::End;
    const GifFrameReader::Result result =
        m_sizesOnly ? m_reader.SkipFrame(m_frame) : m_reader.ReadFrame(m_frame);
    if (result == GifFrameReader::Result::End)
    {
        m_ended = true;
        return result;
    }
    ++m_index;
    if (result == GifFrameReader::Result::OutOfMemory)
        return EndForMemory();
    if (result != GifFrameReader::Result::Frame)
        return result;
    // Only an animation is composed; a lone image keeps its own size.
    if (!m_composing)
        m_composing = m_index > 0 || m_reader.HasAnotherFrame();
    if (m_composing)
    {
        switch (m_sizesOnly ? m_composer.Place(m_frame) : m_composer.Draw(m_frame))
        {
            case GifComposer::DrawResult::Drawn:
                break;
            case GifComposer::DrawResult::TooLarge:
                // A canvas no picture may be ends the file like damage would.
                m_ended = true;
                return GifFrameReader::Result::End;
            case GifComposer::DrawResult::OutOfMemory:
                return EndForMemory();
        }
    }
    m_hasFrame = true;
    return result;
}

wxSize GifAnimationReader::PictureSize() const
{
    if (!m_hasFrame)
        return wxSize();
    return m_composing ? m_composer.CanvasSize() : wxSize(m_frame.width, m_frame.height);
}

std::unique_ptr<wxImage> GifAnimationReader::Picture()
{
    if (!m_hasFrame || m_sizesOnly)
        return nullptr;
    auto picture = std::make_unique<wxImage>();
    const bool made = m_composing ? m_composer.Picture(*picture, m_frame.comment)
                                  : GifFrameReader::ConvertToImage(m_frame, *picture);
    if (!made || !picture->IsOk())
    {
        EndForMemory();
        return nullptr;
    }
    return picture;
}

double GifAnimationReader::FractionRead() const
{
    return m_data.empty() ? 1.0 : double(m_reader.BytesRead()) / double(m_data.size());
}

std::unique_ptr<GifAnimationReader::Checkpoint> GifAnimationReader::SaveCheckpoint() const
{
    // After the first frame no image descriptor has been read ahead, so the
    // reader stands where the next record starts.
    if (!m_hasFrame || !m_composing || m_index < 1 || m_sizesOnly)
        return nullptr;
    try
    {
        auto checkpoint = std::make_unique<Checkpoint>();
        checkpoint->index = m_index;
        checkpoint->offset = m_reader.BytesRead();
        checkpoint->composer = std::make_unique<GifComposer>(m_composer);
        return checkpoint;
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

bool GifAnimationReader::Resume(const Checkpoint& checkpoint)
{
    m_hasFrame = false;
    try
    {
        m_composer = *checkpoint.composer;
    }
    catch (const std::bad_alloc&)
    {
        EndForMemory();
        return false;
    }
    m_index = checkpoint.index;
    m_composing = true;
    m_outOfMemory = false;
    m_ended = !m_reader.ResumeAt(checkpoint.offset);
    return !m_ended;
}
