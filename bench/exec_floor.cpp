// The least a process can cost: started, nothing done, ended. Linked statically, so that no
// loader work is counted; the start-up benchmark measures adultify-cli against it.
int main() {
    return 0;
}
