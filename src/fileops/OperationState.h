// "A file operation, a drag or a prompt is running." The shell's file
// operation, DoDragDrop, the menus and the prompts all pump messages on the
// main thread, so a sorting pass, an undo, a page switch or a cadrel close
// posted meanwhile would run in the middle of them. Everything that moves
// files or destroys windows looks here first and waits or refuses.
#pragma once

namespace cadrels {

class OperationState {
public:
    // Marks the state for its lifetime; scopes nest (a close prompt that ends
    // in a file move holds two).
    class [[nodiscard]] Scope {
    public:
        explicit Scope(OperationState& state) : state_(&state) { ++state_->depth_; }
        ~Scope()
        {
            if (state_ != nullptr) {
                --state_->depth_;
            }
        }
        Scope(Scope&& other) noexcept : state_(other.state_) { other.state_ = nullptr; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        Scope& operator=(Scope&&) = delete;

    private:
        OperationState* state_;
    };

    Scope Begin() { return Scope(*this); }
    bool Running() const { return depth_ > 0; }

private:
    int depth_ = 0;
};

}  // namespace cadrels
